// Layout of lists, buttons and titles over the surface, and the properties
// that steer it: Orientation, ShowTitles, LTitle, RTitle.
#include "tests/controls/addremove/addremove_fixture.h"

namespace qs::test {
namespace {

class LayoutTest : public AddRemoveTest {
 protected:
  // Exact on the headless platform; within a pixel where the platform keeps
  // positions in whole pixels. A list box there may round its height to
  // whole rows, so its height is checked only on the headless platform.
  void expect_at(Element& e, float left, float top, float width, std::optional<float> height) {
    const float tolerance = rig->headless() ? 0.0f : 15.0f;
    Bounds b = e.bounds();
    SCOPED_TRACE(utf8(e.name()));
    EXPECT_NEAR(b.left, left, tolerance);
    EXPECT_NEAR(b.top, top, tolerance);
    EXPECT_NEAR(b.width, width, tolerance);
    if (height && (rig->headless() || e.windowless())) {
      EXPECT_NEAR(b.height, *height, tolerance);
    }
  }

  void expect_lists(float sw, float top, float lw, float lh) {
    expect_at(ctl->List1(), 0, top, lw, lh);
    expect_at(ctl->List2(), sw - lw, top, lw, lh);
    expect_at(ctl->LeftCap(), 0, 0, lw, 225);
    expect_at(ctl->RightCap(), sw - lw, 0, lw, 225);
  }

  // Buttons from top to bottom at tops 330, 660, 990, 1320.
  void expect_column(float left, std::initializer_list<CommandButton*> order) {
    float top = 330;
    for (CommandButton* b : order) {
      expect_at(*b, left, top, 330, 330);
      top += 330;
    }
  }

  void expect_left_to_right(float left) {
    expect_column(left, {&ctl->cmdAdd(), &ctl->cmdAddAll(), &ctl->cmdRemove(), &ctl->cmdRemoveAll()});
  }
};

TEST_F(LayoutTest, WorkedExampleWithAndWithoutTitles) {
  expect_lists(4800, 225, 2135, 3375);
  expect_left_to_right(2235);

  ctl->set_ShowTitles(false);
  expect_lists(4800, 0, 2135, 3600);
  expect_left_to_right(2235);
  EXPECT_FALSE(ctl->ShowTitles());
  // The lists now cover the titles, which stay where they were.
  EXPECT_EQ(driver().element_at(ctl->surface(), 100, 100), &ctl->List1());
  EXPECT_EQ(driver().element_at(ctl->surface(), 4700, 100), &ctl->List2());

  ctl->set_ShowTitles(true);
  expect_lists(4800, 225, 2135, 3375);
  EXPECT_EQ(driver().element_at(ctl->surface(), 100, 100), &ctl->LeftCap());
  EXPECT_EQ(host.changes, (Texts{u"ShowTitles", u"ShowTitles"}));
}

TEST_F(LayoutTest, OrientationReordersOnlyTheButtons) {
  ctl->set_Orientation(qrRightToLeft);
  EXPECT_EQ(ctl->Orientation(), qrRightToLeft);
  expect_column(2235, {&ctl->cmdRemove(), &ctl->cmdRemoveAll(), &ctl->cmdAdd(), &ctl->cmdAddAll()});
  expect_lists(4800, 225, 2135, 3375);
  EXPECT_EQ(ctl->cmdRemove().caption(), u">");
  EXPECT_EQ(ctl->cmdAddAll().caption(), u"<<");

  // Commands keep their direction.
  fill({u"X"}, {});
  driver().click_item(ctl->List1(), 0);
  driver().click(ctl->cmdRemove());
  EXPECT_EQ(items(ctl->List2()), (Texts{u"X"}));

  // Any value other than left-to-right orders the buttons right-to-left.
  ctl->set_Orientation(7);
  expect_column(2235, {&ctl->cmdRemove(), &ctl->cmdRemoveAll(), &ctl->cmdAdd(), &ctl->cmdAddAll()});
  ctl->set_Orientation(qrLeftToRight);
  expect_left_to_right(2235);
  EXPECT_EQ(host.changes, (Texts{u"Orientation", u"Orientation", u"Orientation"}));
}

TEST_F(LayoutTest, ResizeFollowsTheSurface) {
  driver().resize(ctl->surface(), 6000, 2400);
  expect_lists(6000, 225, 2735, 2175);
  expect_left_to_right(2835);

  // At 530 twips the lists and titles are 0 wide and the buttons at 100. A
  // platform with whole pixels makes the surface 525 wide, which is too narrow.
  if (rig->headless()) {
    driver().resize(ctl->surface(), 530, 2400);
    expect_lists(530, 225, 0, 2175);
    expect_left_to_right(100);
  }
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(LayoutTest, OddWidthGivesAFractionalListWidth) {
  if (!rig->headless()) GTEST_SKIP() << "positions are whole pixels on this platform";
  driver().resize(ctl->surface(), 4801, 3600);
  expect_lists(4801, 225, 2135.5f, 3375);
  expect_left_to_right(2235.5f);
  EXPECT_EQ(ctl->List2().bounds().left, 2665.5f);
}

TEST_F(LayoutTest, TooSmallSurfaceLeavesRefusedElementsInPlace) {
  driver().resize(ctl->surface(), 400, 3600);
  // LW is -65: lists and titles refuse the move and keep the 4800 layout;
  // the buttons still move to LW + 100.
  expect_lists(4800, 225, 2135, 3375);
  expect_left_to_right(35);

  // Too low for the titles: lists keep their place, everything else moves.
  driver().resize(ctl->surface(), 3000, 100);
  expect_at(ctl->List1(), 0, 225, 2135, 3375);
  expect_at(ctl->LeftCap(), 0, 0, 1235, 225);
  expect_at(ctl->RightCap(), 1765, 0, 1235, 225);
  expect_left_to_right(1335);
}

TEST_F(LayoutTest, TitlesChangeOnlyTheirCaptions) {
  const Bounds left = ctl->LeftCap().bounds(), right = ctl->RightCap().bounds();
  const Bounds list = ctl->List1().bounds();
  ctl->set_LTitle(u"Available");
  ctl->set_RTitle(u"Chosen");
  EXPECT_EQ(ctl->LTitle(), u"Available");
  EXPECT_EQ(ctl->RTitle(), u"Chosen");
  EXPECT_EQ(ctl->LeftCap().caption(), u"Available");
  EXPECT_EQ(ctl->RightCap().caption(), u"Chosen");
  EXPECT_EQ(ctl->LeftCap().bounds(), left);
  EXPECT_EQ(ctl->RightCap().bounds(), right);
  EXPECT_EQ(ctl->List1().bounds(), list);
  EXPECT_EQ(host.changes, (Texts{u"LTitle", u"RTitle"}));
}

TEST_F(LayoutTest, LoadingTheListsLaysOut) {
  // A hidden-titles state set by restoration takes effect at the load.
  MemoryPropertyBag bag;
  bag.put(u"ShowTitles", Variant(false));
  bag.put(u"Orientation", Variant(int32_t{qrRightToLeft}));
  auto other = make_control();
  driver().resize(other->surface(), 4800, 3600);
  other->ReadProperties(bag);
  expect_at(other->List1(), 0, 0, 2135, 3600);
  expect_at(other->cmdRemove(), 2235, 330, 330, 330);
  expect_at(other->cmdAddAll(), 2235, 1320, 330, 330);

  // Assigning a list text lays out again.
  driver().resize(ctl->surface(), 4800, 3600);
  ctl->set_LeftList(Variant(u"A"));
  expect_lists(4800, 225, 2135, 3375);
}

}  // namespace
}  // namespace qs::test
