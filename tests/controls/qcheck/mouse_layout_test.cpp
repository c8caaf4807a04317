// qCheck's mouse events relayed from the box and the caption in their own
// coordinates, and the layout for both alignments and for sizes too small
// for the box.
#include "tests/controls/qcheck/qcheck_fixture.h"

namespace qs::test {
namespace {

using QCheckMouseTest = QCheckTest;
using QCheckLayoutTest = QCheckTest;

TEST_F(QCheckMouseTest, MouseEventsCarryTheChildsOwnCoordinates) {
  enum Action { kDown, kMove, kUp };
  struct Case {
    const char* name;
    bool on_box;
    Action action;
    float x, y;
    int16_t button, shift;
    int dispid;
  };
  // Points on whole pixels (15 twips), so the real platform reports them exactly.
  const Case cases[] = {
      {"left down on the box", true, kDown, 60, 45, kLeftButton, 0, qCheck::kMouseDownEvent},
      {"right up on the box", true, kUp, 90, 30, kRightButton, kShiftKey, qCheck::kMouseUpEvent},
      {"move over the box", true, kMove, 15, 15, 0, kCtrlKey, qCheck::kMouseMoveEvent},
      {"middle down on the caption", false, kDown, 120, 30, kMiddleButton, kShiftKey | kCtrlKey,
       qCheck::kMouseDownEvent},
      {"move over the caption", false, kMove, 300, 150, kLeftButton, 0, qCheck::kMouseMoveEvent},
      {"alt with a right up", false, kUp, 45, 15, kRightButton, kAltKey, qCheck::kMouseUpEvent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.reset();
    Element& target = c.on_box ? static_cast<Element&>(ctl->Picture1())
                               : static_cast<Element&>(ctl->Label1());
    if (c.action == kDown) {
      driver().mouse_down(target, c.x, c.y, c.button, c.shift);
      driver().mouse_up(target, c.x, c.y, c.button, c.shift);  // release what was pressed
    } else if (c.action == kUp) {
      driver().mouse_up(target, c.x, c.y, c.button, c.shift);
    } else {
      driver().mouse_move(target, c.x, c.y, c.button, c.shift);
    }
    // Only the left button's press and release is a click.
    const bool clicked = c.action == kDown && c.button == kLeftButton;
    EXPECT_EQ(ctl->Value().to_long(), clicked ? 1 : 0);
    ctl->set_Value(Variant(int16_t{0}));
    ASSERT_FALSE(host.events.empty());
    const RecordingHost::Event& e = host.events.front();
    EXPECT_EQ(e.dispid, c.dispid);
    ASSERT_EQ(e.args.size(), 4u);
    EXPECT_EQ(e.args[0].type(), VarType::kInteger);
    EXPECT_EQ(e.args[0].to_integer(), c.button);
    EXPECT_EQ(e.args[1].to_integer(), c.shift);
    EXPECT_EQ(e.args[2].type(), VarType::kSingle);
    EXPECT_EQ(e.args[2].to_single(), c.x);
    EXPECT_EQ(e.args[3].to_single(), c.y);
  }
}

TEST_F(QCheckMouseTest, APressHoldsTheMouseUntilItsRelease) {
  // Pressed on the box and released over the caption: the box reports the
  // release, in its own coordinates, and no click happens.
  driver().mouse_down(ctl->Picture1(), 60, 60);
  driver().mouse_move(ctl->Label1(), 30, 30, kLeftButton);
  driver().mouse_up(ctl->Label1(), 30, 30);
  ASSERT_EQ(event_ids(), (Ids{qCheck::kMouseDownEvent, qCheck::kMouseMoveEvent,
                              qCheck::kMouseUpEvent}));
  // The caption lies at 240, 0, so the point is about 270 twips right of
  // the box's origin (less its frame, where the platform draws one) and
  // above it; in the caption's coordinates it would be 30, 30.
  for (int i : {1, 2}) {
    EXPECT_GT(host.events[i].args[2].to_single(), 200) << i;
    EXPECT_LT(host.events[i].args[3].to_single(), 0) << i;
  }
  EXPECT_EQ(ctl->Value().to_long(), 0);
}

TEST_F(QCheckLayoutTest, BoxAndCaptionFollowAlignmentAndSize) {
  struct Case {
    const char* name;
    int32_t alignment;
    float width, height;
    Bounds box, caption;
  };
  // Sizes in whole pixels; the caption starts at 510, 0, 1035 x 270.
  const Case cases[] = {
      {"LEFT", LEFT, 1980, 360, {0, 67.5f, 240, 225}, {240, 0, 1740, 360}},
      {"Right", Right, 1980, 360, {1740, 67.5f, 240, 225}, {0, 0, 1740, 360}},
      {"any other value is right", 7, 1980, 360, {1740, 67.5f, 240, 225}, {0, 0, 1740, 360}},
      {"negative is right too", -1, 600, 450, {360, 112.5f, 240, 225}, {0, 0, 360, 450}},
      {"narrower than the box keeps the caption width", LEFT, 195, 360,
       {0, 67.5f, 240, 225}, {240, 0, 1035, 360}},
      {"narrow, right", Right, 195, 360, {-45, 67.5f, 240, 225}, {0, 0, 1035, 360}},
      {"no height", LEFT, 1980, 0, {0, -112.5f, 240, 225}, {240, 0, 1740, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto other = make_control();
    other->InitProperties();
    other->set_Alignment(c.alignment);
    driver().resize(other->surface(), c.width, c.height);
    EXPECT_EQ(other->Picture1().bounds(), c.box);
    EXPECT_EQ(other->Label1().bounds(), c.caption);
  }
}

TEST_F(QCheckLayoutTest, AlignmentLaysOutAtOnce) {
  ctl->set_Alignment(Right);
  EXPECT_EQ(ctl->Picture1().bounds().left, 1740);
  EXPECT_EQ(ctl->Label1().bounds().left, 0);
  ctl->set_Alignment(LEFT);
  EXPECT_EQ(ctl->Picture1().bounds().left, 0);
  EXPECT_EQ(ctl->Label1().bounds().left, 240);
  EXPECT_EQ(host.changes, (Texts{u"Alignment", u"Alignment"}));
  EXPECT_TRUE(host.events.empty());
}

TEST_F(QCheckLayoutTest, TheBoxIsPlacedWhereTheMouseFindsIt) {
  ctl->set_Alignment(Right);
  EXPECT_EQ(driver().element_at(ctl->surface(), 1800, 180), &ctl->Picture1());
  EXPECT_EQ(driver().element_at(ctl->surface(), 60, 180), &ctl->Label1());
  driver().click(ctl->Picture1());
  EXPECT_EQ(ctl->Value().to_long(), 1);
}

}  // namespace
}  // namespace qs::test
