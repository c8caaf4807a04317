// Window regions on in-memory containers: ownership passes to the window,
// input outside the region reaches nothing, and inversions and fills are
// recorded.
#include <gtest/gtest.h>

#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_surface.h"
#include "tests/support/shaped_pass.h"

namespace qs {
namespace {

constexpr float kPx = kHeadlessTwipsPerPixel;

HeadlessContainer& headless(Container& c) { return dynamic_cast<HeadlessContainer&>(c); }

TEST(HeadlessRegions, TheWindowTakesTheRegionAndReleasesTheOldOne) {
  HeadlessPlatform platform;
  Regions& regions = platform.regions();
  auto surface = platform.create_surface();
  HeadlessContainer& window = headless(*surface);
  EXPECT_EQ(window.window_region(), nullptr);

  RegionHandle first = regions.create_elliptic_rgn(0, 0, 40, 20);
  RegionHandle keep = regions.create_rect_rgn(0, 0, 1, 1);
  EXPECT_EQ(regions.live_regions(), 2);
  surface->set_window_rgn(first, true);
  EXPECT_EQ(regions.live_regions(), 1) << "the window owns the region now";
  EXPECT_FALSE(regions.delete_object(first)) << "the caller's handle is no longer its own";
  ASSERT_NE(window.window_region(), nullptr);
  EXPECT_EQ(*window.window_region(), RegionShape::ellipse(0, 0, 40, 20));

  RegionHandle second = regions.create_rect_rgn(2, 2, 8, 8);
  surface->set_window_rgn(second, true);
  EXPECT_EQ(regions.live_regions(), 1);
  EXPECT_EQ(window.window_region()->rects(), (std::vector<RegionRect>{{2, 2, 8, 8}}));

  // An unknown or dead handle leaves the window as it was.
  surface->set_window_rgn(first, true);
  EXPECT_EQ(window.window_region()->rects(), (std::vector<RegionRect>{{2, 2, 8, 8}}));

  surface->set_window_rgn(0, true);
  EXPECT_EQ(window.window_region(), nullptr) << "0 gives back the whole window";
  EXPECT_EQ(window.window_region_changes(), 3);
  EXPECT_TRUE(regions.delete_object(keep));
  EXPECT_EQ(regions.live_regions(), 0);
}

// Which elements the region hides is a shared behaviour test
// (tests/platform/window_region_test.cpp); here a windowed button clicked
// through the driver.
TEST(HeadlessRegions, AButtonOutsideTheRegionTakesNoClick) {
  HeadlessPlatform platform;
  HeadlessDriver driver(platform);
  auto surface = platform.create_surface();
  CommandButton& button = surface->create_command_button(u"Command1");
  button.move(0, 80 * kPx, 20 * kPx, 20 * kPx);
  int clicks = 0;
  button.on_click = [&] { ++clicks; };

  // A circle of diameter 100 pixels: its corners are cut away.
  surface->set_window_rgn(platform.regions().create_elliptic_rgn(0, 0, 100, 100), true);
  driver.click(button);
  EXPECT_EQ(clicks, 0) << "the button's centre (10, 90) lies outside the circle";

  surface->set_window_rgn(0, true);
  driver.click(button);
  EXPECT_EQ(clicks, 1);
}

TEST(HeadlessRegions, APressHeldWhenTheRegionShrinksStillEnds) {
  HeadlessPlatform platform;
  HeadlessDriver driver(platform);
  auto surface = platform.create_surface();
  Label& label = surface->create_label(u"Label1");
  label.move(0, 0, 100 * kPx, 100 * kPx);
  int ups = 0;
  label.on_mouse_up = [&](MouseReport&) { ++ups; };
  label.on_mouse_down = [&](MouseReport&) {
    // The pressed outline is smaller: the release point falls outside it.
    surface->set_window_rgn(platform.regions().create_rect_rgn(2, 2, 96, 96), true);
  };
  driver.mouse_down(label, 97 * kPx, 97 * kPx);
  driver.mouse_up(label, 97 * kPx, 97 * kPx);
  EXPECT_EQ(ups, 1) << "the element holding the mouse gets its release";
  EXPECT_EQ(platform.regions().live_regions(), 0);
}

TEST(HeadlessRegions, InversionsAndFillsAreRecorded) {
  HeadlessPlatform platform;
  Regions& regions = platform.regions();
  auto form = platform.create_form(u"MessageBox");
  HeadlessContainer& window = headless(*form);
  RegionHandle outer = regions.create_rect_rgn(0, 0, 10, 10);
  RegionHandle inner = regions.create_rect_rgn(3, 3, 7, 7);
  ASSERT_EQ(regions.combine_rgn(outer, outer, inner, kRgnXor), kComplexRegion);

  EXPECT_TRUE(form->invert_rgn(inner));
  EXPECT_TRUE(form->fill_rgn(outer, regions.get_stock_object(kBlackBrush)));
  EXPECT_FALSE(form->fill_rgn(outer, 0)) << "no brush";
  EXPECT_FALSE(form->fill_rgn(outer, inner)) << "a region is no brush";
  EXPECT_TRUE(regions.delete_object(inner));
  EXPECT_FALSE(form->invert_rgn(inner)) << "a deleted region";
  ASSERT_EQ(window.region_paints().size(), 2u);
  EXPECT_EQ(window.invert_count(), 1);
  EXPECT_EQ(window.region_paints()[0].brush, 0u);
  EXPECT_EQ(window.region_paints()[0].rects, (std::vector<RegionRect>{{3, 3, 7, 7}}));
  EXPECT_EQ(window.region_paints()[1].brush, regions.get_stock_object(kBlackBrush));
  EXPECT_EQ(window.region_paints()[1].rects.size(), 4u) << "the rim of the box";
  EXPECT_TRUE(regions.delete_object(outer));
  EXPECT_EQ(regions.live_regions(), 0);
}

TEST(HeadlessRegions, APassLeavesTheLiveCountWhereItWasAndInvertsOnce) {
  HeadlessPlatform platform;
  auto surface = platform.create_surface();
  HeadlessContainer& window = headless(*surface);
  RegionHandle held = platform.regions().create_rect_rgn(0, 0, 1, 1);
  for (int pass = 1; pass <= 50; ++pass) {
    test::shaped_pass(*surface, 120 - pass, 100);
    EXPECT_EQ(platform.regions().live_regions(), 1) << "pass " << pass;
    EXPECT_EQ(window.invert_count(), pass);
    EXPECT_EQ(window.region_paints().back().rects, window.window_region()->rects())
        << "the copy inverted is the shape handed over";
  }
  EXPECT_EQ(window.window_region_changes(), 50);
  EXPECT_TRUE(platform.regions().delete_object(held));
  EXPECT_EQ(platform.regions().live_regions(), 0);
}

}  // namespace
}  // namespace qs
