// ShapeButton's layout pass: the pixel scale, the caption and picture
// places for each behaviour, the inset, inversions, and regions that never
// leak.
#include <utility>

#include "tests/controls/shapebutton/shapebutton_fixture.h"

namespace qs::test {
namespace {

using ShapeButtonLayoutTest = ShapeButtonTest;

TEST_F(ShapeButtonLayoutTest, ThePassSwitchesTheSurfaceToPixels) {
  auto fresh = make_control();
  EXPECT_EQ(fresh->surface().scale_mode(), 1);
  EXPECT_EQ(fresh->Image1().bounds(), (Bounds{0, 0, 1125, 900}));
  EXPECT_EQ(fresh->Label1().bounds(), (Bounds{90, 315, 1110, 300}));
  EXPECT_EQ(ctl->surface().scale_mode(), 3);
  EXPECT_EQ(ctl->surface().scale_width(), 119);
  EXPECT_EQ(ctl->surface().scale_height(), 103);
}

TEST_F(ShapeButtonLayoutTest, CaptionAndPictureForEachBehaviourPressedAndNot) {
  struct Case {
    const char* name;
    int32_t behaviour;
    bool pressed;
    Bounds label, image;
  };
  // 119 x 103 pixels, BevelWidth 2: the caption is centred on the whole
  // surface (top 103 / 2 - 20 / 2 = 41.5) and starts at the inset.
  const Case cases[] = {
      {"Standard up", Standard, false, {0, 41.5f, 119, 20}, {0, 0, 119, 103}},
      {"Standard pressed", Standard, true, {2, 41.5f, 113, 20}, {2, 2, 113, 97}},
      {"UseUpDown pressed", UseUpDown, true, {2, 41.5f, 113, 20}, {0, 0, 119, 103}},
      {"InvertColor pressed", InvertColor, true, {0, 41.5f, 119, 20}, {0, 0, 119, 103}},
      {"NoChange up", NoChange, false, {0, 41.5f, 119, 20}, {0, 0, 75, 60}},
      {"unknown behaviour pressed", 9, true, {2, 41.5f, 113, 20}, {0, 0, 75, 60}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctl = make_control();
    ctl->InitProperties();
    ctl->set_ClickBehaviour(c.behaviour);
    driver().resize(ctl->surface(), 1785, 1545);
    if (c.pressed) ctl->set_Value(true);
    EXPECT_EQ(ctl->Label1().bounds(), c.label);
    EXPECT_EQ(ctl->Image1().bounds(), c.image);
  }
}

TEST_F(ShapeButtonLayoutTest, RegionsNeverLeakOverManyPasses) {
  const int32_t shapes[] = {Elliptical, Circular, RoundRectangle, RoundSquare,
                            Triangle,   Octagon,  Star,           7, -1};
  const int32_t behaviours[] = {Standard, UseUpDown, NoChange, InvertColor};
  const int before = regions().live_regions();
  int passes = 0;
  bool pressed = false;
  while (passes < 10000) {
    for (int32_t shape : shapes) {
      for (int32_t behaviour : behaviours) {
        ctl->set_ClickBehaviour(behaviour);
        ctl->set_ButtonShape(shape);
        // Value flips at every step and once more each round, so each step
        // presses or releases, and each shape and behaviour is laid out
        // both pressed and not over the rounds.
        pressed = !pressed;
        ctl->set_Value(pressed);
        passes += 2;
      }
    }
    resize_pixels(60 + passes % 90, 40 + passes % 70);
    pressed = !pressed;
    ++passes;
  }
  EXPECT_EQ(regions().live_regions(), before);
  EXPECT_EQ(before, 0);
}

// The window's points: where the driver finds an element under a pixel of
// a button whose Image1 covers the whole surface (InvertColor).
std::vector<std::pair<int, int>> window_points(Driver& driver, Surface& surface, int width,
                                               int height) {
  std::vector<std::pair<int, int>> points;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (driver.element_at(surface, float(x), float(y)) != nullptr) points.emplace_back(x, y);
    }
  }
  return points;
}

// The points of a region of the platform's service within a box.
std::vector<std::pair<int, int>> region_points(Regions& rg, RegionHandle region, int width,
                                               int height) {
  std::vector<std::pair<int, int>> points;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (rg.pt_in_region(region, x, y)) points.emplace_back(x, y);
    }
  }
  return points;
}

TEST_F(ShapeButtonLayoutTest, TheWindowTakesTheWorkedOutlines) {
  using Points = std::vector<RegionPoint>;
  struct Case {
    const char* name;
    int32_t shape;
    int width, height;
    std::vector<Points> polygons;  // unioned
    RegionRect ellipse;            // when there are no polygons
  };
  const Case cases[] = {
      {"triangle 119 x 103", Triangle, 119, 103, {{{0, 103}, {119, 103}, {60, 0}}}, {}},
      {"octagon 119 x 103", Octagon, 119, 103,
       {{{0, 34}, {0, 69}, {40, 103}, {79, 103}, {119, 69}, {119, 34}, {79, 0}, {40, 0}}}, {}},
      {"star 119 x 103", Star, 119, 103,
       {{{60, 103}, {0, 26}, {119, 26}}, {{60, 0}, {0, 77}, {119, 77}}}, {}},
      {"star 90 x 90", Star, 90, 90, {{{45, 90}, {0, 22}, {90, 22}}, {{45, 0}, {0, 68}, {90, 68}}}, {}},
      {"triangle 75 wide", Triangle, 75, 40, {{{0, 40}, {75, 40}, {38, 0}}}, {}},
      {"triangle 73 wide", Triangle, 73, 40, {{{0, 40}, {73, 40}, {36, 0}}}, {}},
      {"circle on 200 x 80 touches the left edge", Circular, 200, 80, {}, {0, 0, 80, 80}},
      {"ellipse on 200 x 80", Elliptical, 200, 80, {}, {0, 0, 200, 80}},
  };
  Regions& rg = regions();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctl->set_ClickBehaviour(InvertColor);
    ctl->set_ButtonShape(c.shape);
    resize_pixels(c.width, c.height);
    RegionHandle expected = 0;
    if (c.polygons.empty()) {
      expected = rg.create_elliptic_rgn(c.ellipse.left, c.ellipse.top, c.ellipse.right,
                                        c.ellipse.bottom);
    } else {
      expected = rg.create_rect_rgn(0, 0, 0, 0);
      for (const Points& p : c.polygons) {
        RegionHandle part = rg.create_polygon_rgn(p.data(), int32_t(p.size()), kWinding);
        rg.combine_rgn(expected, expected, part, kRgnOr);
        rg.delete_object(part);
      }
    }
    const auto want = region_points(rg, expected, c.width, c.height);
    rg.delete_object(expected);
    EXPECT_FALSE(want.empty());
    EXPECT_EQ(window_points(driver(), ctl->surface(), c.width, c.height), want);
  }
  EXPECT_EQ(rg.live_regions(), 0);
}

TEST_F(ShapeButtonLayoutTest, SquareSurfacesGiveEqualShapesAndOddShapesNoRegion) {
  ctl->set_ClickBehaviour(InvertColor);
  resize_pixels(64, 64);
  const std::pair<int32_t, int32_t> pairs[] = {{Elliptical, Circular}, {RoundRectangle, RoundSquare}};
  for (const auto& [a, b] : pairs) {
    SCOPED_TRACE(a);
    ctl->set_ButtonShape(a);
    const auto first = window_points(driver(), ctl->surface(), 64, 64);
    ctl->set_ButtonShape(b);
    EXPECT_EQ(window_points(driver(), ctl->surface(), 64, 64), first);
    EXPECT_LT(first.size(), 64u * 64u);
  }
  for (int32_t odd : {7, -1}) {
    SCOPED_TRACE(odd);
    ctl->set_ButtonShape(odd);
    EXPECT_EQ(window_points(driver(), ctl->surface(), 64, 64).size(), 64u * 64u);
  }
}

TEST_F(ShapeButtonLayoutTest, APressShrinksTheOutlineUnlessNoChangeOrInvertColor) {
  // (80, 40) lies inside the full triangle, outside the one pressed by 5
  // pixels, and on Image1 in every behaviour (NoChange leaves Image1 where
  // it is, so the test spreads it over the surface).
  struct Case {
    const char* name;
    int32_t behaviour;
    bool corner_while_held;
  };
  const Case cases[] = {
      {"Standard", Standard, false},
      {"UseUpDown", UseUpDown, false},
      {"NoChange", NoChange, true},
      {"InvertColor", InvertColor, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctl->set_ClickBehaviour(c.behaviour);
    ctl->set_BevelWidth(5);
    ctl->set_ButtonShape(Triangle);
    resize_pixels(119, 103);
    if (c.behaviour == NoChange) ctl->Image1().move(0, 0, 119, 103);
    EXPECT_NE(driver().element_at(ctl->surface(), 80, 40), nullptr);
    press_label();
    EXPECT_EQ(driver().element_at(ctl->surface(), 80, 40) != nullptr, c.corner_while_held);
    release_label();
    EXPECT_NE(driver().element_at(ctl->surface(), 80, 40), nullptr);
  }
}

}  // namespace
}  // namespace qs::test
