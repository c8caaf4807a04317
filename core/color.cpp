#include "core/color.h"

#include <cmath>

#include "core/runtime_error.h"

namespace qs {

namespace {
uint8_t component(double v) {
  const double r = std::nearbyint(v);
  if (!(r >= 0)) throw RuntimeError(kErrInvalidCall);
  return r > 255 ? 255 : static_cast<uint8_t>(r);
}
}  // namespace

OleColor make_rgb(double red, double green, double blue) {
  return rgb(component(red), component(green), component(blue));
}

}  // namespace qs
