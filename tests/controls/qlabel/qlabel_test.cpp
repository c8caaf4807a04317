// qLabel: design state, the nine properties and where each lands, the
// layout for positive, zero and negative Shadow, and the mouse relayed from
// the text label only.
#include "tests/controls/qlabel/qlabel_fixture.h"

namespace qs::test {
namespace {

using QLabelPropertiesTest = QLabelTest;
using QLabelLayoutTest = QLabelTest;
using QLabelMouseTest = QLabelTest;

TEST_F(QLabelPropertiesTest, ANewInstanceKeepsTheDesignValues) {
  auto fresh = make_control();
  EXPECT_EQ(fresh->Shadow(), 0);
  fresh->InitProperties();
  EXPECT_EQ(fresh->Shadow(), 1);
  for (Label* l : {&fresh->Label1(), &fresh->Label2()}) {
    EXPECT_EQ(l->caption(), u"ShadowText");
    EXPECT_EQ(l->back_style(), 0) << "transparent";
    EXPECT_TRUE(l->windowless());
  }
  EXPECT_EQ(fresh->ForeColor(), 0x80000010u);
  EXPECT_EQ(fresh->ShadowColor(), 0x80000012u);
  EXPECT_EQ(fresh->Caption(), u"ShadowText");
  EXPECT_EQ(fresh->Label1().bounds(), (Bounds{-45, -90, 795, 600}));
  EXPECT_EQ(fresh->Label2().bounds(), (Bounds{-540, 45, 1065, 375}));
  // Where both lie, the text is on top.
  EXPECT_EQ(driver().element_at(fresh->surface(), 300, 300), &fresh->Label1());
  EXPECT_EQ(driver().element_at(fresh->surface(), 1000, 300), nullptr);
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(QLabelPropertiesTest, EachPropertyLandsWhereItBelongsAndNotifiesOnce) {
  FontRef font = make_font(FontDesc{u"Arial", 14, 700});
  ctl->set_Caption(u"Hello");
  ctl->set_ForeColor(rgb(255, 0, 0));
  ctl->set_ShadowColor(rgb(0, 0, 255));
  ctl->set_Enabled(false);
  ctl->set_Font(font);
  ctl->set_BackColor(rgb(1, 2, 3));
  ctl->set_BackStyle(1);
  ctl->set_BorderStyle(1);
  ctl->set_Shadow(-4);
  EXPECT_EQ(host.changes, (Texts{u"Caption", u"ForeColor", u"ShadowColor", u"Enabled", u"Font",
                                 u"BackColor", u"BackStyle", u"BorderStyle", u"Shadow"}));
  EXPECT_EQ(ctl->Label1().caption(), u"Hello");
  EXPECT_EQ(ctl->Label2().caption(), u"Hello");
  EXPECT_EQ(ctl->Label1().fore_color(), rgb(255, 0, 0));
  EXPECT_EQ(ctl->Label2().fore_color(), rgb(0, 0, 255));
  EXPECT_FALSE(ctl->Label1().enabled());
  EXPECT_FALSE(ctl->Label2().enabled());
  EXPECT_TRUE(ctl->surface().enabled()) << "the surface keeps its own state";
  EXPECT_EQ(ctl->Label1().font(), font);
  EXPECT_EQ(ctl->Label2().font(), font) << "both share the one font object";
  EXPECT_EQ(ctl->surface().back_color(), rgb(1, 2, 3));
  EXPECT_EQ(ctl->Label1().back_style(), 0) << "the labels stay transparent";
  EXPECT_EQ(ctl->BackStyle(), 1);
  EXPECT_EQ(ctl->BorderStyle(), 1);
  EXPECT_EQ(ctl->Shadow(), -4);
  EXPECT_EQ(ctl->Caption(), u"Hello");
  EXPECT_EQ(ctl->ForeColor(), rgb(255, 0, 0));
  EXPECT_EQ(ctl->ShadowColor(), rgb(0, 0, 255));
  EXPECT_FALSE(ctl->Enabled());
  EXPECT_EQ(ctl->Font(), font);
  EXPECT_EQ(ctl->BackColor(), rgb(1, 2, 3));
  EXPECT_TRUE(host.events.empty());
}

TEST_F(QLabelPropertiesTest, RefusedValuesChangeNothingAndDoNotNotify) {
  EXPECT_EQ(error_of([&] { ctl->set_BackStyle(2); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { ctl->set_BorderStyle(-1); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { ctl->set_Font(nullptr); }), kErrInvalidPropertyValue);
  EXPECT_NE(ctl->Font(), nullptr);
  EXPECT_TRUE(host.changes.empty());
  ctl->Refresh();
  driver().pump();
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(QLabelLayoutTest, ShadowOffsetsOneLabelAndBothFillTheSurface) {
  struct Case {
    int16_t shadow;
    float text, shadow_at;  // left and top of each label
  };
  const Case cases[] = {{3, 0, 3}, {1, 0, 1}, {0, 0, 0}, {-3, 3, 0}, {-45, 45, 0},
                        {32767, 0, 32767}, {-32768, 32768, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shadow);
    host.reset();
    ctl->set_Shadow(c.shadow);
    EXPECT_EQ(ctl->Label1().bounds(), (Bounds{c.text, c.text, 1110, 435}));
    EXPECT_EQ(ctl->Label2().bounds(), (Bounds{c.shadow_at, c.shadow_at, 1110, 435}));
    EXPECT_EQ(host.changes, Texts{u"Shadow"});
  }
  // A resize lays out again at the new size.
  driver().resize(ctl->surface(), 3000, 600);
  EXPECT_EQ(ctl->Label1().bounds(), (Bounds{32768, 32768, 3000, 600}));
  EXPECT_EQ(ctl->Label2().bounds(), (Bounds{0, 0, 3000, 600}));
}

TEST_F(QLabelMouseTest, OnlyTheTextLabelRelaysTheMouse) {
  struct Case {
    const char* name;
    int16_t shadow;
    float x, y;       // a point of the surface
    bool relayed;
    float text_x, text_y;  // the point in the text label's coordinates
  };
  // Offsets of 45 twips are 3 whole pixels on the real platform.
  const Case cases[] = {
      {"positive: the top left corner", 45, 15, 15, true, 15, 15},
      {"positive: the bottom right", 45, 1080, 405, true, 1080, 405},
      {"negative: the top strip", -45, 600, 15, false, 0, 0},
      {"negative: the left strip", -45, 15, 300, false, 0, 0},
      {"negative: inside both", -45, 60, 60, true, 15, 15},
      {"zero", 0, 300, 300, true, 300, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctl->set_Shadow(c.shadow);
    host.reset();
    // Act at the surface point through the shadow label, the element below.
    Label& shadow = ctl->Label2();
    const float lx = c.x - shadow.bounds().left, ly = c.y - shadow.bounds().top;
    driver().mouse_move(shadow, lx, ly);
    driver().mouse_down(shadow, lx, ly, kRightButton, kShiftKey);
    driver().mouse_up(shadow, lx, ly, kRightButton, kShiftKey);
    driver().mouse_down(shadow, lx, ly);
    driver().mouse_up(shadow, lx, ly);
    if (!c.relayed) {
      EXPECT_TRUE(host.events.empty());
      continue;
    }
    ASSERT_EQ(event_ids(), (Ids{qLabel::kMouseMoveEvent, qLabel::kMouseDownEvent,
                                qLabel::kMouseUpEvent, qLabel::kMouseDownEvent,
                                qLabel::kMouseUpEvent, qLabel::kClickEvent}));
    const RecordingHost::Event& down = host.events[1];
    ASSERT_EQ(down.args.size(), 4u);
    EXPECT_EQ(down.args[0].to_integer(), kRightButton);
    EXPECT_EQ(down.args[1].to_integer(), kShiftKey);
    EXPECT_EQ(down.args[2].to_single(), c.text_x);
    EXPECT_EQ(down.args[3].to_single(), c.text_y);
    EXPECT_EQ(host.events[0].args[0].to_integer(), 0) << "a move with no button held";
    EXPECT_TRUE(host.events[5].args.empty());
  }
}

TEST_F(QLabelMouseTest, DoubleClickAndDisabledText) {
  driver().double_click(ctl->Label1());
  EXPECT_EQ(event_ids(), (Ids{qLabel::kMouseDownEvent, qLabel::kMouseUpEvent, qLabel::kClickEvent,
                              qLabel::kDblClickEvent, qLabel::kMouseUpEvent}));
  host.reset();
  ctl->set_Enabled(false);
  driver().click(ctl->Label1());
  driver().double_click(ctl->Label2());
  EXPECT_TRUE(host.events.empty());
}

}  // namespace
}  // namespace qs::test
