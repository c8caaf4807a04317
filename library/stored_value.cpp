#include "library/stored_value.h"

#include <cmath>

#include "core/runtime_error.h"

namespace qs {

Variant color_value(OleColor color) { return Variant(static_cast<int32_t>(color)); }

OleColor color_of(const Variant& value) {
  if (value.is_number()) {
    double d = std::nearbyint(value.number_value());
    if (d >= 2147483648.0 && d <= 4294967295.0) return static_cast<OleColor>(d);
  }
  return static_cast<OleColor>(value.to_long());
}

FontRef font_of(const Variant& value) {
  FontRef font = value.to_font();
  if (!font) throw RuntimeError(kErrInvalidPropertyValue);
  return font;
}

}  // namespace qs
