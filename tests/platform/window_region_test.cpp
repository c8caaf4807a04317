// A window cut by a region, on both platforms: input outside the region
// reaches no element, and giving the whole window back restores it.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/rig.h"

namespace qs::test {
namespace {

TEST(WindowRegion, InputOutsideTheRegionReachesNothing) {
  std::unique_ptr<Rig> rig = make_rig();
  Platform& platform = rig->platform();
  Driver& driver = rig->driver();
  const float tpp = platform.twips_per_pixel_x();
  auto px = [tpp](int pixels) { return static_cast<float>(pixels) * tpp; };
  auto surface = platform.create_surface();
  driver.resize(*surface, px(100), px(100));
  Label& label = surface->create_label(u"Label1");
  label.move(0, 0, px(100), px(100));
  PictureBox& picture = surface->create_picture_box(u"Picture1");
  picture.move(px(50), 0, px(50), px(20));
  int label_downs = 0;
  int picture_downs = 0;
  label.on_mouse_down = [&](MouseReport&) { ++label_downs; };
  picture.on_mouse_down = [&](MouseReport&) { ++picture_downs; };

  // A circle of diameter 100 pixels: its corners are cut away.
  surface->set_window_rgn(platform.regions().create_elliptic_rgn(0, 0, 100, 100), true);
  struct Case {
    Element* target;
    int x;
    int y;
    bool reaches;
  };
  const Case cases[] = {
      {&label, 50, 50, true},    {&label, 1, 1, false},
      {&label, 99, 99, false},   {&label, 1, 50, true},
      {&picture, 48, 1, false},  // the picture's top right corner
      {&picture, 1, 10, true},
  };
  for (const Case& c : cases) {
    const int before = label_downs + picture_downs;
    const Bounds b = c.target->bounds();
    EXPECT_EQ(driver.element_at(*surface, b.left + px(c.x), b.top + px(c.y)) != nullptr,
              c.reaches)
        << c.x << "," << c.y;
    driver.mouse_down(*c.target, px(c.x), px(c.y));
    driver.mouse_up(*c.target, px(c.x), px(c.y));
    EXPECT_EQ(label_downs + picture_downs - before, c.reaches ? 1 : 0) << c.x << "," << c.y;
  }

  surface->set_window_rgn(0, true);
  driver.mouse_down(label, px(1), px(1));
  driver.mouse_up(label, px(1), px(1));
  EXPECT_EQ(label_downs, 3) << "the whole window takes input again";
}

}  // namespace
}  // namespace qs::test
