// One layout pass of a shaped window, as a shaped control makes it: a star
// made of two triangles, a working copy, the star handed to the window, the
// copy inverted and released. Each region call's result is checked.
#pragma once

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace qs::test {

inline void shaped_pass(Container& window, int w, int h) {
  Regions& r = window.platform().regions();
  const RegionPoint t1[] = {{w / 2, h}, {0, h / 4}, {w, h / 4}};
  const RegionPoint t2[] = {{w / 2, 0}, {0, 3 * h / 4}, {w, 3 * h / 4}};
  RegionHandle a = r.create_polygon_rgn(t1, 3, kWinding);
  RegionHandle b = r.create_polygon_rgn(t2, 3, kWinding);
  RegionHandle star = r.create_rect_rgn(0, 0, w, h);
  EXPECT_EQ(r.combine_rgn(star, a, b, kRgnOr), kComplexRegion);
  EXPECT_TRUE(r.delete_object(b));
  EXPECT_TRUE(r.delete_object(a));
  RegionHandle copy = r.create_elliptic_rgn(0, 0, 100, 100);
  EXPECT_EQ(r.combine_rgn(copy, star, star, kRgnCopy), kComplexRegion);
  window.set_window_rgn(star, true);
  EXPECT_TRUE(window.invert_rgn(copy));
  EXPECT_TRUE(r.delete_object(copy));
}

}  // namespace qs::test
