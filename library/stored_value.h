// Conversions between the property store's values and the kinds the
// controls' properties hold, failing with the runtime's errors for a value
// of the wrong kind.
#pragma once

#include "core/color.h"
#include "core/font.h"
#include "core/variant.h"

namespace qs {

// A colour as stored: its 32-bit pattern as a signed 32-bit integer.
Variant color_value(OleColor color);
// A stored colour: any number in the signed or unsigned 32-bit range
// (rounded); text that is no number fails with 13, a number outside with 6.
OleColor color_of(const Variant& value);
// A stored font: a font object; another object or no object fails with
// 380, a value that is no object with 13.
FontRef font_of(const Variant& value);

}  // namespace qs
