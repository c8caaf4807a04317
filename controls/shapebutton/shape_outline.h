// The outlines of ShapeButton as window regions, and the ownership of the
// regions a layout pass makes.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/region.h"

namespace qs {

// A coordinate for a region call: the nearest integer, halves to even. A
// value outside the 32-bit range fails with 6.
int32_t nearest(float value);

// A region the caller made: deleted when the owner goes (also when a step
// fails), unless it was handed on with release().
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

// The region of outline `shape` (a btnShape) in the box (d, d)-(r, b), made
// by the region calls; 0 for a value that names no outline. The caller owns
// the result. Whatever the calls made on the way is released, also when one
// of them fails.
RegionHandle build_outline(Regions& regions, int32_t shape, float d, float r, float b);

}  // namespace qs
