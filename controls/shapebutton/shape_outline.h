// The outlines of ShapeButton as window regions.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/region.h"

namespace qs {

// A coordinate for a region call: the nearest integer, halves to even. A
// value outside the 32-bit range fails with 6.
int32_t nearest(float value);

// The region of outline `shape` (a btnShape) in the box (d, d)-(r, b), made
// by the region calls; 0 for a value that names no outline. The caller owns
// the result. Whatever the calls made on the way is released, also when one
// of them fails.
RegionHandle build_outline(Regions& regions, int32_t shape, float d, float r, float b);

}  // namespace qs
