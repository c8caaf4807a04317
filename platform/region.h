// Regions: point sets on the pixel grid, made and combined by the platform's
// GDI region calls under their Windows names and numbers.
//
// A region covers the pixels (x, y) with left <= x < right and
// top <= y < bottom of its pieces: right and bottom edges are exclusive.
// Handles are the platform's (0 is "no region"). A region belongs to whoever
// created it until it is deleted or handed to a window (Container's
// set_window_rgn), which then owns and releases it.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "core/runtime_error.h"

namespace qs {

using RegionHandle = uintptr_t;
// Any GDI object: a region or a stock brush.
using GdiObject = uintptr_t;

struct RegionPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const RegionPoint&) const = default;
};

struct RegionRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool operator==(const RegionRect&) const = default;
};

// A coordinate for a region call: the nearest integer, halves to even (the
// default rounding mode). A value outside the 32-bit range fails with 6.
inline int32_t nearest(double value) {
  const double rounded = std::nearbyint(value);
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  if (!(rounded >= lo && rounded <= hi)) throw RuntimeError(kErrOverflow);
  return static_cast<int32_t>(rounded);
}

// CombineRgn modes.
enum RegionMode : int32_t { kRgnAnd = 1, kRgnOr = 2, kRgnXor = 3, kRgnDiff = 4, kRgnCopy = 5 };
// CombineRgn results (the kind of the destination afterwards).
enum RegionKind : int32_t { kRgnError = 0, kNullRegion = 1, kSimpleRegion = 2, kComplexRegion = 3 };
// Polygon fill modes.
enum PolyFillMode : int32_t { kAlternate = 1, kWinding = 2 };
// GetStockObject indexes of the brushes.
enum StockBrush : int32_t {
  kWhiteBrush = 0,
  kLightGrayBrush = 1,
  kGrayBrush = 2,
  kDarkGrayBrush = 3,
  kBlackBrush = 4,
  kNullBrush = 5
};

// The region calls. Every call checks its handles: an unknown or deleted
// handle fails the call (0, kRgnError or false) and changes nothing.
class Regions {
 public:
  virtual ~Regions() = default;

  // CreateEllipticRgn: the ellipse inscribed in the box.
  virtual RegionHandle create_elliptic_rgn(int32_t left, int32_t top, int32_t right,
                                           int32_t bottom) = 0;
  // CreateRoundRectRgn: the box with corners rounded by an ellipse of that
  // width and height.
  virtual RegionHandle create_round_rect_rgn(int32_t left, int32_t top, int32_t right,
                                             int32_t bottom, int32_t ellipse_width,
                                             int32_t ellipse_height) = 0;
  // CreatePolygonRgn with kAlternate or kWinding; fewer than 3 points (or
  // none) gives no region (0).
  virtual RegionHandle create_polygon_rgn(const RegionPoint* points, int32_t count,
                                          int32_t fill_mode) = 0;
  // CreateRectRgn; edges in any order.
  virtual RegionHandle create_rect_rgn(int32_t left, int32_t top, int32_t right,
                                       int32_t bottom) = 0;
  // CombineRgn: destination = first (mode) second; kRgnCopy ignores the
  // second. The destination may be one of the sources.
  virtual int32_t combine_rgn(RegionHandle destination, RegionHandle first, RegionHandle second,
                              int32_t mode) = 0;
  // DeleteObject: releases a region the caller owns; false for an unknown
  // handle. Deleting a stock object does nothing and succeeds.
  virtual bool delete_object(GdiObject object) = 0;
  // GetStockObject for the brushes above; 0 for another index.
  virtual GdiObject get_stock_object(int32_t index) = 0;

  // PtInRegion.
  virtual bool pt_in_region(RegionHandle region, int32_t x, int32_t y) const = 0;
  // The region's pieces, as GetRegionData gives them: rows top to bottom,
  // each row's pieces left to right. Empty for an empty or unknown region.
  virtual std::vector<RegionRect> region_rects(RegionHandle region) const = 0;

  // Regions created through this service and neither deleted nor handed to
  // a window: a pass that cleans up after itself leaves this where it found it.
  virtual int live_regions() const = 0;
};

// Owns one region of a Regions service until it is released (handed to a
// window) or the owner goes, so a pass that fails part-way leaks nothing.
class OwnedRegion {
 public:
  OwnedRegion(Regions& regions, RegionHandle handle) : regions_(regions), handle_(handle) {}
  ~OwnedRegion() { reset(); }
  OwnedRegion(const OwnedRegion&) = delete;
  OwnedRegion& operator=(const OwnedRegion&) = delete;

  RegionHandle get() const { return handle_; }
  // Gives up ownership (the window took the region).
  RegionHandle release() { return std::exchange(handle_, 0); }
  void reset() {
    if (handle_ != 0) regions_.delete_object(std::exchange(handle_, 0));
  }

 private:
  Regions& regions_;
  RegionHandle handle_;
};

}  // namespace qs
