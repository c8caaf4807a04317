// The software region engine: boxes, combinations and their kinds, point
// queries, the order of the pieces, the handle table and its count.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/region_engine.h"

namespace qs {
namespace {

using Rects = std::vector<RegionRect>;

struct BoxCase {
  const char* name;
  RegionRect in;
  Rects out;
};

TEST(RegionShape, BoxesAreNormalisedAndEmptyBoxesGiveNothing) {
  const BoxCase cases[] = {
      {"in order", {1, 2, 5, 7}, {{1, 2, 5, 7}}},
      {"right before left", {5, 2, 1, 7}, {{1, 2, 5, 7}}},
      {"bottom above top", {1, 7, 5, 2}, {{1, 2, 5, 7}}},
      {"both reversed", {5, 7, 1, 2}, {{1, 2, 5, 7}}},
      {"negative coordinates", {-4, -3, -1, 0}, {{-4, -3, -1, 0}}},
      {"one pixel", {3, 3, 4, 4}, {{3, 3, 4, 4}}},
      {"no width", {3, 1, 3, 9}, {}},
      {"no height", {1, 3, 9, 3}, {}},
      {"a point", {0, 0, 0, 0}, {}},
  };
  for (const BoxCase& c : cases) {
    RegionShape s = RegionShape::rect(c.in.left, c.in.top, c.in.right, c.in.bottom);
    EXPECT_EQ(s.rects(), c.out) << c.name;
    EXPECT_EQ(s.kind(), c.out.empty() ? kNullRegion : kSimpleRegion) << c.name;
  }
}

struct CombineCase {
  const char* name;
  Rects first;
  Rects second;
  int32_t mode;
  RegionKind kind;
  Rects out;
};

TEST(RegionShape, CombinationsGiveTheirPiecesAndKind) {
  const Rects a = {{0, 0, 10, 10}};
  const Rects b = {{5, 5, 15, 15}};
  const Rects far = {{20, 0, 30, 10}};
  const Rects below = {{0, 10, 10, 20}};
  const CombineCase cases[] = {
      {"and of overlapping", a, b, kRgnAnd, kSimpleRegion, {{5, 5, 10, 10}}},
      {"or of overlapping",
       a,
       b,
       kRgnOr,
       kComplexRegion,
       {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}},
      {"xor of overlapping",
       a,
       b,
       kRgnXor,
       kComplexRegion,
       {{0, 0, 10, 5}, {0, 5, 5, 10}, {10, 5, 15, 10}, {5, 10, 15, 15}}},
      {"diff of overlapping", a, b, kRgnDiff, kComplexRegion, {{0, 0, 10, 5}, {0, 5, 5, 10}}},
      {"copy ignores the second", a, b, kRgnCopy, kSimpleRegion, a},
      {"and of disjoint", a, far, kRgnAnd, kNullRegion, {}},
      {"or of disjoint", a, far, kRgnOr, kComplexRegion, {{0, 0, 10, 10}, {20, 0, 30, 10}}},
      {"diff of disjoint", a, far, kRgnDiff, kSimpleRegion, a},
      {"or of stacked boxes merges the rows", a, below, kRgnOr, kSimpleRegion, {{0, 0, 10, 20}}},
      {"or of side by side boxes joins them", a, {{10, 0, 20, 10}}, kRgnOr, kSimpleRegion,
       {{0, 0, 20, 10}}},
      {"xor with itself", a, a, kRgnXor, kNullRegion, {}},
      {"diff with itself", a, a, kRgnDiff, kNullRegion, {}},
      {"and with empty", a, {}, kRgnAnd, kNullRegion, {}},
      {"or with empty", {}, a, kRgnOr, kSimpleRegion, a},
      {"xor with empty", a, {}, kRgnXor, kSimpleRegion, a},
      {"diff from empty", {}, a, kRgnDiff, kNullRegion, {}},
      {"copy of empty", {}, a, kRgnCopy, kNullRegion, {}},
      {"diff cutting a hole",
       {{0, 0, 9, 9}},
       {{3, 3, 6, 6}},
       kRgnDiff,
       kComplexRegion,
       {{0, 0, 9, 3}, {0, 3, 3, 6}, {6, 3, 9, 6}, {0, 6, 9, 9}}},
  };
  for (const CombineCase& c : cases) {
    RegionShape s = RegionShape::combine(RegionShape::from_rects(c.first),
                                         RegionShape::from_rects(c.second), c.mode);
    EXPECT_EQ(s.kind(), c.kind) << c.name;
    EXPECT_EQ(s.rects(), c.out) << c.name;
  }
}

// Random unions of boxes, combined in every mode, agree point by point with
// the mode's rule, and their pieces come in rows top to bottom, left to right.
TEST(RegionShape, EveryModeAgreesPointByPointWithItsRule) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> coord(-3, 20);
  auto random_shape = [&] {
    Rects rects(static_cast<size_t>(random() % 5));
    for (RegionRect& r : rects) r = {coord(random), coord(random), coord(random), coord(random)};
    return RegionShape::from_rects(rects);
  };
  for (int round = 0; round < 200; ++round) {
    RegionShape a = random_shape();
    RegionShape b = random_shape();
    for (int32_t mode = kRgnAnd; mode <= kRgnCopy; ++mode) {
      RegionShape c = RegionShape::combine(a, b, mode);
      for (int32_t y = -4; y < 22; ++y) {
        for (int32_t x = -4; x < 22; ++x) {
          bool in_a = a.contains(x, y);
          bool in_b = b.contains(x, y);
          bool want = mode == kRgnAnd   ? in_a && in_b
                      : mode == kRgnOr  ? in_a || in_b
                      : mode == kRgnXor ? in_a != in_b
                      : mode == kRgnDiff ? in_a && !in_b
                                         : in_a;
          ASSERT_EQ(c.contains(x, y), want) << "round " << round << " mode " << mode << " at "
                                            << x << "," << y;
        }
      }
      Rects pieces = c.rects();
      for (size_t k = 1; k < pieces.size(); ++k) {
        const RegionRect& p = pieces[k - 1];
        const RegionRect& q = pieces[k];
        ASSERT_TRUE(p.top < q.top || (p.top == q.top && p.right < q.left))
            << "pieces out of order or touching in round " << round;
        ASSERT_TRUE(p.top == q.top || p.bottom <= q.top);
      }
      // The same point set always has the same pieces.
      EXPECT_EQ(RegionShape::from_rects(pieces), c);
      EXPECT_EQ(c.kind(), pieces.empty()        ? kNullRegion
                          : pieces.size() == 1 ? kSimpleRegion
                                               : kComplexRegion);
    }
  }
}

struct PointCase {
  int32_t x;
  int32_t y;
  bool in;
};

TEST(RegionShape, PointQueriesExcludeRightAndBottomEdges) {
  RegionShape s = RegionShape::from_rects({{0, 0, 4, 2}, {6, 0, 8, 2}, {2, 2, 4, 5}});
  const PointCase cases[] = {
      {0, 0, true},  {3, 1, true},  {4, 0, false}, {5, 1, false}, {6, 1, true},
      {7, 1, true},  {8, 1, false}, {0, 2, false}, {2, 2, true},  {3, 4, true},
      {3, 5, false}, {-1, 0, false}, {0, -1, false}, {4, 3, false},
  };
  for (const PointCase& c : cases) {
    EXPECT_EQ(s.contains(c.x, c.y), c.in) << c.x << "," << c.y;
  }
}

TEST(RegionShape, PolygonsFillByTheirMode) {
  const RegionPoint square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  EXPECT_EQ(RegionShape::polygon(square, 4, kWinding).rects(), (Rects{{0, 0, 4, 4}}));
  EXPECT_EQ(RegionShape::polygon(square, 4, kAlternate).rects(), (Rects{{0, 0, 4, 4}}));
  // A square drawn twice round: winding counts 2 (inside), alternate 2 (outside).
  const RegionPoint twice[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0},
                               {4, 0}, {4, 4}, {0, 4}};
  EXPECT_EQ(RegionShape::polygon(twice, 8, kWinding).rects(), (Rects{{0, 0, 4, 4}}));
  EXPECT_TRUE(RegionShape::polygon(twice, 8, kAlternate).empty());
  // A five-pointed star: the centre is inside by winding, outside by alternate.
  const RegionPoint star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
  EXPECT_TRUE(RegionShape::polygon(star, 5, kWinding).contains(50, 50));
  EXPECT_FALSE(RegionShape::polygon(star, 5, kAlternate).contains(50, 50));
  EXPECT_TRUE(RegionShape::polygon(star, 5, kAlternate).contains(50, 10));
  // Colinear points, too few points and an unknown mode give nothing.
  const RegionPoint line[] = {{0, 0}, {5, 5}, {10, 10}};
  EXPECT_TRUE(RegionShape::polygon(line, 3, kWinding).empty());
  EXPECT_TRUE(RegionShape::polygon(square, 2, kWinding).empty());
  EXPECT_TRUE(RegionShape::polygon(square, 4, 3).empty());
  EXPECT_TRUE(RegionShape::polygon(nullptr, 4, kWinding).empty());
}

// Ellipses and rounded boxes leave out their box's last column and row, and
// are symmetric about both middle lines of what remains.
TEST(RegionShape, CurvedShapesAreSymmetricInTheirBox) {
  for (int32_t w = 1; w <= 24; ++w) {
    for (int32_t h = 1; h <= 24; ++h) {
      const RegionShape shapes[] = {RegionShape::ellipse(3, 5, 3 + w, 5 + h),
                                    RegionShape::round_rect(3, 5, 3 + w, 5 + h, 7, 9)};
      for (const RegionShape& s : shapes) {
        if (s.empty()) continue;
        RegionRect box = s.bounds();
        ASSERT_GE(box.left, 3);
        ASSERT_GE(box.top, 5);
        ASSERT_LE(box.right, 3 + w - 1);
        ASSERT_LE(box.bottom, 5 + h - 1);
        for (int32_t y = 5; y < 5 + h - 1; ++y) {
          for (int32_t x = 3; x < 3 + w - 1; ++x) {
            ASSERT_EQ(s.contains(x, y), s.contains(3 + 3 + w - 2 - x, y)) << w << "x" << h;
            ASSERT_EQ(s.contains(x, y), s.contains(x, 5 + 5 + h - 2 - y)) << w << "x" << h;
          }
        }
      }
      // The middle row of a rounded box of an odd number of rows spans the
      // whole box but its last column.
      if (w >= 2 && h >= 2 && (h - 1) % 2 == 1) {
        RegionShape r = RegionShape::round_rect(0, 0, w, h, 7, 9);
        EXPECT_TRUE(r.contains(0, (h - 1) / 2)) << w << "x" << h;
        EXPECT_TRUE(r.contains(w - 2, (h - 1) / 2)) << w << "x" << h;
        EXPECT_FALSE(r.contains(w - 1, (h - 1) / 2)) << w << "x" << h;
      }
    }
  }
  // A box one pixel wide gives nothing; an empty box the column or pixel
  // left of and above it.
  EXPECT_TRUE(RegionShape::ellipse(0, 0, 1, 10).empty());
  EXPECT_EQ(RegionShape::ellipse(0, 0, 0, 10), RegionShape::rect(-1, 0, 0, 9));
  EXPECT_EQ(RegionShape::ellipse(4, 4, 4, 4), RegionShape::rect(3, 3, 4, 4));
  EXPECT_EQ(RegionShape::ellipse(10, 10, 0, 0), RegionShape::ellipse(0, 0, 10, 10));
  // A corner too small to round leaves the box less its last column and row.
  EXPECT_EQ(RegionShape::round_rect(0, 0, 10, 10, 0, 0), RegionShape::rect(0, 0, 9, 9));
  EXPECT_EQ(RegionShape::ellipse(0, 0, 2, 2), RegionShape::rect(0, 0, 1, 1));
  EXPECT_EQ(RegionShape::round_rect(0, 0, 10, 10, 500, 500), RegionShape::ellipse(0, 0, 10, 10))
      << "a corner larger than the box is clipped to it";
}

// Curves are built with their lower corners sharing the rows of the upper
// ones: moving a shape must move every piece once, and the rows must be in
// the one form a combination gives (no two touching rows alike).
TEST(RegionShape, CurvesMoveWholeAndKeepTheirForm) {
  for (int32_t w = 1; w <= 40; w += 3) {
    for (int32_t h = 1; h <= 40; h += 2) {
      const struct {
        RegionShape at_origin;
        RegionShape moved_box;
      } cases[] = {
          {RegionShape::ellipse(0, 0, w, h), RegionShape::ellipse(-7, 11, w - 7, h + 11)},
          {RegionShape::round_rect(0, 0, w, h, 9, 5),
           RegionShape::round_rect(-7, 11, w - 7, h + 11, 9, 5)},
          {RegionShape::round_rect(0, 0, w, h, 4, 30),
           RegionShape::round_rect(-7, 11, w - 7, h + 11, 4, 30)},
      };
      for (const auto& c : cases) {
        RegionShape moved = c.at_origin;
        moved.offset(-7, 11);
        ASSERT_EQ(moved.rects(), c.moved_box.rects()) << w << "x" << h;
        ASSERT_EQ(RegionShape::combine(moved, moved, kRgnOr).rects(), moved.rects())
            << w << "x" << h;
        const RegionShape rim =
            RegionShape::combine(moved, RegionShape::rect(-7, 11, w - 7, h + 11), kRgnXor);
        ASSERT_TRUE(RegionShape::combine(rim, moved, kRgnAnd).empty()) << w << "x" << h;
      }
    }
  }
}

TEST(RegionShape, TooTallCurvesAreRefused) {
  EXPECT_TRUE(RegionShape::ellipse(0, 0, 10, INT32_MAX).refused());
  const RegionPoint tall[] = {{0, 0}, {10, INT32_MAX}, {0, INT32_MAX}};
  EXPECT_TRUE(RegionShape::polygon(tall, 3, kWinding).refused());
  // A tall box needs one row only.
  EXPECT_FALSE(RegionShape::rect(0, INT32_MIN, 10, INT32_MAX).refused());
  EXPECT_TRUE(RegionShape::ellipse(0, 0, INT32_MAX, 10).refused()) << "too wide";
  EXPECT_TRUE(RegionShape::round_rect(INT32_MIN, 0, INT32_MAX, 10, -INT32_MAX, 4).refused());
  // Small corners on a huge box need a few rows only.
  EXPECT_FALSE(
      RegionShape::round_rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 15, 15).refused());
  // A move past the coordinate range is refused and changes nothing.
  RegionShape near_end = RegionShape::rect(INT32_MAX - 10, 0, INT32_MAX, 10);
  EXPECT_FALSE(near_end.offset(11, 0));
  RegionShape above = RegionShape::rect(0, -10, 10, 0);
  EXPECT_FALSE(above.offset(0, INT32_MIN));
  EXPECT_TRUE(above.offset(0, INT32_MIN + 10));
  EXPECT_EQ(near_end.rects(), RegionShape::rect(INT32_MAX - 10, 0, INT32_MAX, 10).rects());
  EXPECT_TRUE(near_end.offset(-10, -10));
  SoftwareRegions regions;
  EXPECT_EQ(regions.create_elliptic_rgn(0, 0, 10, INT32_MAX), 0u);
  EXPECT_EQ(regions.live_regions(), 0);
}

// A narrow, tall ellipse whose tracing stops short of its ends: the engine
// continues the last rows from the narrowest one, so the shape is whole and
// symmetric, and says so; an ordinary ellipse does not.
TEST(RegionShape, NarrowTallEllipsesAreContinuedToTheirEnds) {
  SoftwareRegions regions;
  for (int w = 3; w <= 9; ++w) {
    const RegionShape shape = RegionShape::ellipse(0, 0, w, 12 * w);
    SCOPED_TRACE(w);
    ASSERT_TRUE(shape.continued());
    const RegionRect box = shape.bounds();
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.bottom, 12 * w - 1);
    for (int32_t y = 0; y < 12 * w - 1; ++y) {
      const int32_t mid = (w - 1) / 2;
      EXPECT_TRUE(shape.contains(mid, y)) << "row " << y;
      for (int32_t x = 0; x < w; ++x) {
        EXPECT_EQ(shape.contains(x, y), shape.contains(x, 12 * w - 2 - y)) << x << "," << y;
      }
    }
    const int64_t before = regions.curves_continued();
    RegionHandle h = regions.create_elliptic_rgn(0, 0, w, 12 * w);
    EXPECT_EQ(regions.curves_continued(), before + 1);
    regions.delete_object(h);
  }
  EXPECT_FALSE(RegionShape::ellipse(0, 0, 40, 30).continued());
  EXPECT_FALSE(RegionShape::ellipse(0, 0, 30, 200).continued());
}

TEST(SoftwareRegions, HandlesAreCheckedAndCounted) {
  SoftwareRegions regions;
  RegionHandle a = regions.create_rect_rgn(0, 0, 10, 10);
  RegionHandle b = regions.create_elliptic_rgn(0, 0, 20, 20);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(regions.live_regions(), 2);

  EXPECT_EQ(regions.combine_rgn(a, a, b, kRgnOr), kComplexRegion);
  EXPECT_TRUE(regions.pt_in_region(a, 10, 10)) << "the destination may be a source";
  EXPECT_EQ(regions.combine_rgn(b, a, 0, kRgnCopy), kComplexRegion) << "copy needs no second";
  EXPECT_EQ(regions.region_rects(a), regions.region_rects(b));
  EXPECT_EQ(regions.combine_rgn(a, a, a, 0), kRgnError);
  EXPECT_EQ(regions.combine_rgn(a, a, a, 6), kRgnError);

  EXPECT_TRUE(regions.delete_object(b));
  EXPECT_FALSE(regions.delete_object(b)) << "a second delete fails";
  EXPECT_EQ(regions.live_regions(), 1);
  // A dead handle fails every call and changes nothing.
  EXPECT_EQ(regions.combine_rgn(a, b, a, kRgnOr), kRgnError);
  EXPECT_EQ(regions.combine_rgn(b, a, a, kRgnOr), kRgnError);
  EXPECT_EQ(regions.combine_rgn(a, a, b, kRgnAnd), kRgnError);
  EXPECT_FALSE(regions.pt_in_region(b, 5, 5));
  EXPECT_TRUE(regions.region_rects(b).empty());
  EXPECT_FALSE(regions.delete_object(0));
  EXPECT_FALSE(regions.delete_object(12345));
  EXPECT_TRUE(regions.pt_in_region(a, 5, 5));

  const RegionPoint two[] = {{0, 0}, {5, 5}};
  EXPECT_EQ(regions.create_polygon_rgn(two, 2, kWinding), 0u);
  EXPECT_EQ(regions.create_polygon_rgn(nullptr, 3, kWinding), 0u);
  EXPECT_EQ(regions.live_regions(), 1);

  // Stock brushes are distinct, not regions, and never released.
  GdiObject black = regions.get_stock_object(kBlackBrush);
  EXPECT_NE(black, 0u);
  EXPECT_NE(black, regions.get_stock_object(kWhiteBrush));
  EXPECT_EQ(regions.get_stock_object(6), 0u);
  EXPECT_EQ(regions.get_stock_object(-1), 0u);
  EXPECT_TRUE(regions.delete_object(black));
  EXPECT_EQ(regions.get_stock_object(kBlackBrush), black);
  EXPECT_EQ(regions.combine_rgn(a, black, a, kRgnOr), kRgnError);

  RegionShape taken;
  EXPECT_TRUE(regions.take(a, taken));
  EXPECT_FALSE(regions.take(a, taken));
  EXPECT_EQ(regions.live_regions(), 0);
  EXPECT_TRUE(taken.contains(5, 5));
}

}  // namespace
}  // namespace qs
