// ShapeButton's press handling: the press state over a click in both
// styles, Value and its notifications, the order of the mouse events and
// Click, Value from code, NoChange and UseUpDown, and recovery from a
// failing press.
#include "tests/controls/shapebutton/shapebutton_fixture.h"

namespace qs::test {
namespace {

using ShapeButtonPressTest = ShapeButtonTest;

// The picture's place shows which outline the last pass drew under Standard.
const Bounds kFullPicture{0, 0, 119, 103};
const Bounds kPressedPicture{2, 2, 113, 97};

TEST_F(ShapeButtonPressTest, StateTableOfOneClickInEachStyle) {
  struct Step {
    int16_t press_state;
    bool value;
    Bounds picture;
  };
  struct Case {
    const char* name;
    int32_t style;
    bool latch_was_one;
    Step after_press, after_release;
  };
  const Case cases[] = {
      {"Button", Button, false, {3, true, kPressedPicture}, {3, false, kFullPicture}},
      {"CheckBox, latch not 1", CheckBox, false, {3, true, kPressedPicture},
       {3, true, kPressedPicture}},
      {"CheckBox, latch 1", CheckBox, true, {3, false, kFullPicture}, {3, false, kFullPicture}},
      {"style 7 latches too", 7, false, {3, true, kPressedPicture}, {3, true, kPressedPicture}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctl = make_control();
    ctl->InitProperties();
    driver().resize(ctl->surface(), 1785, 1545);
    ctl->set_Style(c.style);
    if (c.latch_was_one) {
      press_label();
      release_label();
      EXPECT_TRUE(ctl->Value());
    }
    host.reset();
    EXPECT_EQ(ctl->PressState(), 3);

    press_label();
    EXPECT_EQ(ctl->PressState(), c.after_press.press_state);
    EXPECT_EQ(ctl->Value(), c.after_press.value);
    EXPECT_EQ(ctl->Image1().bounds(), c.after_press.picture);
    EXPECT_FALSE(ctl->MouseBusy());
    EXPECT_EQ(host.changes, Texts{u"Value"});
    EXPECT_EQ(event_ids(), Ids{ShapeButton::kMouseDownEvent});

    release_label();
    EXPECT_EQ(ctl->PressState(), c.after_release.press_state);
    EXPECT_EQ(ctl->Value(), c.after_release.value);
    EXPECT_EQ(ctl->Image1().bounds(), c.after_release.picture);
    EXPECT_FALSE(ctl->MouseBusy());
    EXPECT_EQ(host.changes, (Texts{u"Value", u"Value"}));
    EXPECT_EQ(event_ids(), (Ids{ShapeButton::kMouseDownEvent, ShapeButton::kMouseUpEvent,
                                ShapeButton::kClickEvent}));
  }
}

TEST_F(ShapeButtonPressTest, CheckBoxClicksAlternateTheValue) {
  ctl->set_Style(CheckBox);
  host.reset();
  const bool expected[] = {true, false, true, false, true};
  for (bool value : expected) {
    driver().click(ctl->Image1());
    EXPECT_EQ(ctl->Value(), value);
  }
  EXPECT_EQ(host.count(ShapeButton::kClickEvent), 5);
  EXPECT_EQ(host.changes.size(), 10u);
}

TEST_F(ShapeButtonPressTest, MouseArgumentsComeFromTheReportingChildByReference) {
  // InvertColor moves nothing during the press; Image1 lies at whole pixels.
  ctl->set_ClickBehaviour(InvertColor);
  host.reset();
  driver().mouse_move(ctl->Image1(), 30, 40, kRightButton, kShiftKey);
  driver().mouse_down(ctl->Image1(), 12, 30, kLeftButton, kCtrlKey);
  driver().mouse_up(ctl->Image1(), 12, 30, kLeftButton, kCtrlKey);
  ASSERT_EQ(event_ids(), (Ids{ShapeButton::kMouseMoveEvent, ShapeButton::kMouseDownEvent,
                              ShapeButton::kMouseUpEvent, ShapeButton::kClickEvent}));
  struct Expected {
    int16_t button, shift;
    float x, y;
  };
  const Expected expected[] = {
      {kRightButton, kShiftKey, 30, 40}, {kLeftButton, kCtrlKey, 12, 30}, {kLeftButton, kCtrlKey, 12, 30}};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const auto& args = host.events[i].args;
    ASSERT_EQ(args.size(), 4u);
    EXPECT_EQ(args[0].type(), VarType::kInteger);
    EXPECT_EQ(args[0].to_integer(), expected[i].button);
    EXPECT_EQ(args[1].to_integer(), expected[i].shift);
    EXPECT_EQ(args[2].type(), VarType::kSingle);
    EXPECT_EQ(args[2].to_single(), expected[i].x);
    EXPECT_EQ(args[3].to_single(), expected[i].y);
  }
}

TEST_F(ShapeButtonPressTest, DoubleClickIsRelayed) {
  driver().double_click(ctl->Label1());
  EXPECT_EQ(host.count(ShapeButton::kDblClickEvent), 1);
  EXPECT_EQ(host.count(ShapeButton::kClickEvent), 1);
}

TEST_F(ShapeButtonPressTest, ValueFromCodeDrawsTheLookAndAResizeKeepsIt) {
  ctl->set_Value(true);
  EXPECT_EQ(host.changes, Texts{u"Value"});
  EXPECT_EQ(ctl->PressState(), 1);
  EXPECT_EQ(ctl->ToggleLatch().to_integer(), 1);
  EXPECT_EQ(ctl->Image1().bounds(), kPressedPicture);
  resize_pixels(119, 103);
  EXPECT_EQ(ctl->Image1().bounds(), kPressedPicture);
  ctl->set_Value(false);
  EXPECT_EQ(ctl->PressState(), 0);
  EXPECT_EQ(ctl->ToggleLatch().to_integer(), 0);
  EXPECT_EQ(ctl->Image1().bounds(), kFullPicture);
  // A latching button that was set down from code comes up with its next click.
  ctl->set_Style(CheckBox);
  ctl->set_Value(true);
  driver().click(ctl->Label1());
  EXPECT_FALSE(ctl->Value());
}

TEST_F(ShapeButtonPressTest, TheLatchedLookLastsUntilTheNextPlainPass) {
  ctl->set_Style(CheckBox);
  driver().click(ctl->Label1());
  EXPECT_TRUE(ctl->Value());
  EXPECT_EQ(ctl->Image1().bounds(), kPressedPicture);
  resize_pixels(119, 103);
  EXPECT_TRUE(ctl->Value());
  EXPECT_EQ(ctl->Image1().bounds(), kFullPicture);
}

TEST_F(ShapeButtonPressTest, NoChangeKeepsTheDesignPictureAndIgnoresTheSurface) {
  // A button that is NoChange from its first pass on (as a restored one is).
  ctl = make_control();
  ctl->InitProperties();
  ctl->set_ClickBehaviour(NoChange);
  resize_pixels(200, 150);
  // Image1 keeps its design place, 1125 x 900 twips at the corner.
  EXPECT_EQ(ctl->Image1().bounds(), (Bounds{0, 0, 75, 60}));
  const Bounds label = ctl->Label1().bounds();
  EXPECT_EQ(label, (Bounds{0, 65, 200, 20}));
  host.reset();
  struct Case {
    const char* where;
    float x, y;
    bool reaches;
  };
  // Points of the surface, given relative to Image1 at the corner.
  const Case cases[] = {
      {"inside the picture", 30, 30, true},
      {"right of the picture, above the caption", 150, 30, false},
      {"below the caption", 100, 120, false},
      {"on the caption", 150, 70, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    host.reset();
    driver().mouse_down(ctl->Image1(), c.x, c.y);
    driver().mouse_up(ctl->Image1(), c.x, c.y);
    if (c.reaches) {
      EXPECT_EQ(event_ids(), (Ids{ShapeButton::kMouseDownEvent, ShapeButton::kMouseUpEvent,
                                  ShapeButton::kClickEvent}));
    } else {
      EXPECT_EQ(event_ids(), Ids{});
      EXPECT_EQ(host.changes, Texts{});
    }
  }
  // A press changes nothing on screen.
  driver().mouse_down(ctl->Label1(), 5, 5);
  EXPECT_EQ(ctl->Image1().bounds(), (Bounds{0, 0, 75, 60}));
  EXPECT_EQ(ctl->Label1().bounds(), label);
  driver().mouse_up(ctl->Label1(), 5, 5);
}

TEST_F(ShapeButtonPressTest, UseUpDownSwapsPicturesAndPictureUpShowsAtOnce) {
  ctl->set_ClickBehaviour(UseUpDown);
  auto up = std::make_shared<Picture>(Picture{PictureType::kBitmap, 0, 10, 10});
  auto down = std::make_shared<Picture>(Picture{PictureType::kBitmap, 0, 20, 20});
  auto down2 = std::make_shared<Picture>(Picture{PictureType::kBitmap, 0, 30, 30});
  auto up2 = std::make_shared<Picture>(Picture{PictureType::kBitmap, 0, 40, 40});
  ctl->set_PictureUp(up);
  ctl->set_PictureDown(down);
  EXPECT_EQ(ctl->Image1().picture(), up);
  press_label();
  EXPECT_EQ(ctl->Image1().picture(), down);
  EXPECT_EQ(ctl->Image1().bounds(), (Bounds{0, 0, 119, 103}));
  // Held down: a new PictureDown waits for the next press, a new PictureUp shows now.
  ctl->set_PictureDown(down2);
  EXPECT_EQ(ctl->Image1().picture(), down);
  ctl->set_PictureUp(up2);
  EXPECT_EQ(ctl->Image1().picture(), up2);
  release_label();
  EXPECT_EQ(ctl->Image1().picture(), up2);
  press_label();
  EXPECT_EQ(ctl->Image1().picture(), down2);
  release_label();
}

TEST_F(ShapeButtonPressTest, KeysComeFromTheSurfaceAndNeverPress) {
  host.on_event = [](int dispid, std::vector<Variant*>& args) {
    if (dispid == ShapeButton::kKeyPressEvent) *args[0] = Variant(int16_t{0});
  };
  driver().press_key(ctl->surface(), 'A');
  EXPECT_EQ(event_ids(), (Ids{ShapeButton::kKeyDownEvent, ShapeButton::kKeyPressEvent,
                              ShapeButton::kKeyUpEvent}));
  EXPECT_EQ(host.events[0].args.size(), 2u);
  EXPECT_EQ(host.events[0].args[0].to_integer(), 'A');
  EXPECT_EQ(host.events[1].args.size(), 1u);
  EXPECT_EQ(host.events[2].args[0].to_integer(), 'A');
  EXPECT_FALSE(ctl->Value());
  EXPECT_EQ(host.changes, Texts{});
}

TEST_F(ShapeButtonPressTest, AFailingPressLeavesTheButtonAlive) {
  // The host's sink fails the first MouseDown: the press handling ends
  // there, but the button is not left busy or pressed.
  bool fail = true;
  host.on_event = [&fail](int dispid, std::vector<Variant*>&) {
    if (dispid == ShapeButton::kMouseDownEvent && fail) {
      fail = false;
      throw RuntimeError(kErrInvalidCall);
    }
  };
  EXPECT_EQ(error_of([&] { press_label(); }), kErrInvalidCall);
  EXPECT_FALSE(ctl->MouseBusy());
  EXPECT_EQ(ctl->PressState(), 3);
  release_label();
  host.reset();
  driver().click(ctl->Label1());
  EXPECT_EQ(event_ids(), (Ids{ShapeButton::kMouseDownEvent, ShapeButton::kMouseUpEvent,
                              ShapeButton::kClickEvent}));
  EXPECT_EQ(host.changes, (Texts{u"Value", u"Value"}));
}

TEST_F(ShapeButtonPressTest, APressedButtonSmallerThanThreeInsetsStillPresses) {
  ctl->set_BevelWidth(50);
  press_label();
  EXPECT_TRUE(ctl->Value());
  EXPECT_FALSE(ctl->MouseBusy());
  EXPECT_EQ(ctl->Image1().bounds(), (Bounds{50, 50, 0, 0}));
  EXPECT_EQ(ctl->Label1().bounds().width, 0);
  release_label();
  EXPECT_FALSE(ctl->Value());
  EXPECT_EQ(ctl->Image1().bounds(), kFullPicture);
  EXPECT_EQ(regions().live_regions(), 0);
}

TEST_F(ShapeButtonPressTest, OnlyClicksInsideTheStarPress) {
  // Image1 covers the whole surface under InvertColor; the star's window
  // region decides what a click reaches.
  ctl->set_ClickBehaviour(InvertColor);
  ctl->set_ButtonShape(Star);
  host.reset();
  struct Case {
    const char* where;
    float x, y;
    bool presses;
  };
  const Case cases[] = {
      {"left of the lower triangle's edge", 0, 35, false},
      {"inside the lower triangle", 15, 35, true},
      {"above the upper triangle's left flank", 20, 12, false},
      {"at the top point", 60, 3, true},
      {"below the lower point's right flank", 100, 95, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    host.reset();
    driver().mouse_down(ctl->Image1(), c.x, c.y);
    driver().mouse_up(ctl->Image1(), c.x, c.y);
    EXPECT_EQ(host.changes.size(), c.presses ? 2u : 0u);
    EXPECT_EQ(host.count(ShapeButton::kClickEvent), c.presses ? 1 : 0);
  }
}

}  // namespace
}  // namespace qs::test
