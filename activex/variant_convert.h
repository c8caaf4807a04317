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

// The library picture of a platform picture object (IPicture or
// IPictureDisp): the same library picture each time while it lives, holding
// the object, so a host that sets a picture and reads it back gets its own
// object, and a picture set from outside keeps working after its caller
// releases it. Its data is what the object saves as. Not a picture: 13; a
// metafile: 481.
PictureRef picture_from_object(IUnknown* object);
// The platform picture object (a new reference) of a library picture: the
// one it holds, else one made from its data (or the empty picture, or over
// a bare handle) and kept with it. Null for null. Data the platform does not
// load: 481.
IPictureDisp* picture_object(const PictureRef& picture);

// The library value of a VARIANT (by-reference values are followed). A font
// object becomes a font, a picture object a picture (picture_from_object),
// no object "Nothing"; an omitted argument (VT_ERROR
// DISP_E_PARAMNOTFOUND) becomes missing. Other kinds fail with 13.
Variant from_variant(const VARIANT& v);
// Writes a library value into a cleared VARIANT.
void to_variant(const Variant& value, VARIANT* out);

}  // namespace qs::activex
