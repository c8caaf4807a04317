// The outlines of ShapeButton as window regions.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/region.h"

namespace qs {

// The region of outline `shape` (a btnShape) in the box (d, d)-(r, b), made
// by the region calls; 0 for a value that names no outline. The caller owns
// the result. Whatever the calls made on the way is released, also when one
// of them fails.
RegionHandle build_outline(Regions& regions, int32_t shape, float d, float r, float b);

}  // namespace qs
