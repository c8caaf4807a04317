// A software region engine: point sets on the pixel grid computed with the
// platform's rasterisation rules (exclusive right and bottom edges, the
// scan conversion of ellipses, rounded rectangles and polygons in both fill
// modes) and combined in all five modes. It is portable C++ so the native
// build uses it as its region service and the Windows builds can compare
// it with the real calls.
//
// A shape is held as rows: y-bands [top, bottom) in increasing order, each
// with its x-intervals [left, right) sorted and apart; two touching bands
// with the same intervals are always merged, so equal point sets have equal
// rows.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/region.h"

namespace qs {

class RegionShape {
 public:
  // The empty shape.
  RegionShape() = default;

  // The box with its edges sorted; empty when it has no width or height.
  static RegionShape rect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // The ellipse inscribed in the box.
  static RegionShape ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // The box with its corners cut by an ellipse of that size (clipped to the box).
  static RegionShape round_rect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                int32_t ellipse_width, int32_t ellipse_height);
  // The polygon's inside by kAlternate or kWinding; empty for fewer than 3 points.
  static RegionShape polygon(const RegionPoint* points, int32_t count, int32_t fill_mode);
  // The union of the boxes.
  static RegionShape from_rects(const std::vector<RegionRect>& rects);
  // first (mode) second for kRgnAnd, kRgnOr, kRgnXor, kRgnDiff; kRgnCopy gives first.
  static RegionShape combine(const RegionShape& first, const RegionShape& second, int32_t mode);

  bool empty() const { return bands_.empty(); }
  // kNullRegion, kSimpleRegion (one box) or kComplexRegion.
  RegionKind kind() const;
  bool contains(int32_t x, int32_t y) const;
  // The pieces: rows top to bottom, each row's pieces left to right.
  std::vector<RegionRect> rects() const;
  // The smallest box holding the shape (all zero when empty).
  RegionRect bounds() const;
  // Moves the shape by (dx, dy); false, and the shape as it was, when that
  // would carry it past the coordinate range.
  bool offset(int32_t dx, int32_t dy);

  bool operator==(const RegionShape& other) const;

  // The largest height of a curved or sloped shape the engine builds; a
  // taller one is refused (its rows would not fit in memory).
  static constexpr int64_t kMaxRows = 1 << 20;
  // The largest corner ellipse (either way) of a curved shape; a larger one
  // is refused, which keeps the tracing's error terms well inside 64 bits.
  static constexpr int64_t kMaxCurve = 1 << 18;
  // A shape the engine refused to build (too tall or too wide): no region.
  bool refused() const { return refused_; }
  // A curve so narrow for its height that tracing it ran out before its
  // last rows, which were continued from the narrowest traced row (the
  // system leaves such rows unfilled).
  bool continued() const { return continued_; }

 private:
  friend class RegionRows;
  struct Band {
    int32_t top;
    int32_t bottom;
    uint32_t first;  // index of the band's first x in xs_
    uint32_t end;    // one past its last x (pairs left, right)
  };
  std::vector<Band> bands_;
  std::vector<int32_t> xs_;
  bool refused_ = false;
  bool continued_ = false;
};

// The Regions service over the engine: handles in a table, every live one
// counted. Stock brushes are fixed handles that are never released.
class SoftwareRegions final : public Regions {
 public:
  SoftwareRegions() = default;
  SoftwareRegions(const SoftwareRegions&) = delete;
  SoftwareRegions& operator=(const SoftwareRegions&) = delete;

  RegionHandle create_elliptic_rgn(int32_t left, int32_t top, int32_t right,
                                   int32_t bottom) override;
  RegionHandle create_round_rect_rgn(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                     int32_t ellipse_width, int32_t ellipse_height) override;
  RegionHandle create_polygon_rgn(const RegionPoint* points, int32_t count,
                                  int32_t fill_mode) override;
  RegionHandle create_rect_rgn(int32_t left, int32_t top, int32_t right,
                               int32_t bottom) override;
  int32_t combine_rgn(RegionHandle destination, RegionHandle first, RegionHandle second,
                      int32_t mode) override;
  bool delete_object(GdiObject object) override;
  GdiObject get_stock_object(int32_t index) override;
  bool pt_in_region(RegionHandle region, int32_t x, int32_t y) const override;
  std::vector<RegionRect> region_rects(RegionHandle region) const override;
  int live_regions() const override { return static_cast<int>(table_.size()); }

  // The shape behind a live handle, or null.
  const RegionShape* shape(RegionHandle region) const;
  // Takes a live region out of the table (a window takes it over); the
  // handle is dead afterwards. False for an unknown handle.
  bool take(RegionHandle region, RegionShape& shape);
  // Whether the object is one of the stock brushes.
  static bool is_stock_brush(GdiObject object);
  // Curves created since the service started whose last rows were
  // continued (see RegionShape::continued).
  int64_t curves_continued() const { return continued_; }

  // Stock brush handles: kStockBase + index.
  static constexpr GdiObject kStockBase = 0x5B000;

 private:
  RegionHandle add(RegionShape shape);

  std::unordered_map<RegionHandle, RegionShape> table_;
  // Handles are never reused, so a deleted handle stays unknown.
  RegionHandle next_ = 0x7A000;
  int64_t continued_ = 0;
};

}  // namespace qs
