// Conversions between the library's values and the platform's VARIANT,
// and between font descriptions and the platform's font objects.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "core/font.h"
#include "core/variant.h"

namespace qs::activex {

// A new platform font object (IFontDisp) with the description; null on failure.
IFontDisp* create_font_object(const FontDesc& desc);
// The description of a platform font object (IFont or IFontDisp).
FontDesc font_desc_of(IUnknown* font);

// The library value of a VARIANT (by-reference values are followed). A font
// object becomes a font, no object "Nothing"; an omitted argument (VT_ERROR
// DISP_E_PARAMNOTFOUND) becomes missing. Other kinds fail with 13.
Variant from_variant(const VARIANT& v);
// Writes a library value into a cleared VARIANT.
void to_variant(const Variant& value, VARIANT* out);

}  // namespace qs::activex
