// The real region calls: the service's own count of live regions across a
// pass that creates, combines, hands over and deletes them; handles it does
// not know fail without reaching the system; inversions and fills reach the
// window's pixels. Input outside a window region is a shared behaviour test
// (tests/platform/window_region_test.cpp).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_regions.h"
#include "tests/support/shaped_pass.h"

namespace qs::win32 {
namespace {

float px_x(int pixels) { return static_cast<float>(pixels) * twips_per_pixel_x(); }
float px_y(int pixels) { return static_cast<float>(pixels) * twips_per_pixel_y(); }

TEST(Win32Regions, APassLeavesTheLiveCountWhereItWas) {
  Win32Platform& platform = Win32Platform::current();
  Regions& regions = platform.regions();
  auto surface = platform.create_surface();
  platform.driver().resize(*surface, px_x(120), px_y(100));
  HWND hwnd = dynamic_cast<Win32Surface&>(*surface).hwnd();
  const int before = regions.live_regions();
  for (int pass = 0; pass < 50; ++pass) test::shaped_pass(*surface, 120 - pass, 100);
  EXPECT_EQ(regions.live_regions(), before);

  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(hwnd, probe), COMPLEXREGION) << "the window holds the last star";
  surface->set_window_rgn(0, true);
  EXPECT_EQ(GetWindowRgn(hwnd, probe), ERROR) << "0 gives back the whole window";
  DeleteObject(probe);
  EXPECT_EQ(regions.live_regions(), before);
}

TEST(Win32Regions, UnknownAndDeletedHandlesFailSafely) {
  Win32Platform& platform = Win32Platform::current();
  Regions& regions = platform.regions();
  const int before = regions.live_regions();
  RegionHandle a = regions.create_rect_rgn(0, 0, 10, 10);
  RegionHandle b = regions.create_round_rect_rgn(0, 0, 30, 20, 15, 15);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_EQ(regions.live_regions(), before + 2);
  EXPECT_TRUE(regions.delete_object(b));
  EXPECT_FALSE(regions.delete_object(b)) << "a second delete fails";
  EXPECT_EQ(regions.combine_rgn(a, a, b, kRgnOr), kRgnError);
  EXPECT_EQ(regions.combine_rgn(b, a, a, kRgnOr), kRgnError);
  EXPECT_EQ(regions.combine_rgn(a, a, a, 0), kRgnError);
  EXPECT_FALSE(regions.pt_in_region(b, 5, 5));
  EXPECT_TRUE(regions.region_rects(b).empty());
  EXPECT_FALSE(regions.delete_object(0));
  EXPECT_FALSE(regions.delete_object(0x1234));

  // A system region the service did not make is not its to use or delete.
  HRGN foreign = CreateRectRgn(0, 0, 5, 5);
  const auto foreign_handle = reinterpret_cast<RegionHandle>(foreign);
  EXPECT_FALSE(regions.delete_object(foreign_handle));
  EXPECT_EQ(regions.combine_rgn(a, foreign_handle, a, kRgnOr), kRgnError);
  RECT foreign_box{};
  EXPECT_EQ(GetRgnBox(foreign, &foreign_box), SIMPLEREGION) << "the foreign region is untouched";
  EXPECT_EQ(foreign_box.right, 5);
  DeleteObject(foreign);

  GdiObject black = regions.get_stock_object(kBlackBrush);
  EXPECT_EQ(black, reinterpret_cast<GdiObject>(GetStockObject(BLACK_BRUSH)));
  EXPECT_TRUE(regions.delete_object(black)) << "deleting a stock object does nothing";
  EXPECT_EQ(regions.get_stock_object(7), 0u);
  EXPECT_EQ(regions.combine_rgn(a, black, a, kRgnOr), kRgnError);

  auto form = platform.create_form(u"MessageBox");
  form->set_window_rgn(b, true);  // dead: changes nothing, and no crash
  EXPECT_FALSE(form->invert_rgn(b));
  EXPECT_FALSE(form->fill_rgn(a, 0)) << "no brush";
  EXPECT_FALSE(form->fill_rgn(a, a)) << "a region is no brush";
  EXPECT_TRUE(regions.delete_object(a));
  EXPECT_EQ(regions.live_regions(), before);
}

TEST(Win32Regions, TheWindowRegionIsInClientPixelsAndInvertsAndFillsPaintIt) {
  Win32Platform& platform = Win32Platform::current();
  Regions& regions = platform.regions();
  auto surface = platform.create_surface();
  platform.driver().resize(*surface, px_x(60), px_y(40));
  surface->set_back_style(1);
  surface->set_back_color(0x00FFFFFF);
  HWND hwnd = dynamic_cast<Win32Surface&>(*surface).hwnd();
  auto* win32 = dynamic_cast<Win32Regions*>(&regions);
  ASSERT_NE(win32, nullptr);
  RegionHandle shape = regions.create_elliptic_rgn(0, 0, 60, 40);
  RegionHandle copy = regions.create_rect_rgn(0, 0, 0, 0);
  ASSERT_EQ(regions.combine_rgn(copy, shape, 0, kRgnCopy), kComplexRegion);
  surface->set_window_rgn(shape, true);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, probe), ERROR);
  RECT client{};
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  RECT window{};
  GetWindowRect(hwnd, &window);
  OffsetRgn(probe, window.left - origin.x, window.top - origin.y);
  // The same points as the region handed over (the system may band them
  // differently).
  EXPECT_EQ(CombineRgn(probe, probe, win32->live(copy), RGN_XOR), NULLREGION);
  DeleteObject(probe);
  EXPECT_TRUE(regions.delete_object(copy));

  // Paint on a memory bitmap through the same calls the container makes.
  RegionHandle box = regions.create_rect_rgn(2, 2, 6, 5);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 10, 10);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, 10, 10};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  InvertRgn(dc, win32->live(box));
  EXPECT_EQ(GetPixel(dc, 2, 2) & 0xFFFFFF, 0u) << "inside inverted to black";
  EXPECT_EQ(GetPixel(dc, 6, 2) & 0xFFFFFF, 0xFFFFFFu) << "the right edge is outside";
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EXPECT_TRUE(surface->invert_rgn(box));
  EXPECT_TRUE(surface->fill_rgn(box, regions.get_stock_object(kBlackBrush)));
  EXPECT_TRUE(regions.delete_object(box));
}

}  // namespace
}  // namespace qs::win32
