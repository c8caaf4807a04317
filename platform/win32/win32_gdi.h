// Conversions between the platform-neutral values (twips, OLE colours, font
// descriptions, UTF-16 text) and what user32 and gdi32 take.
#pragma once

#include <windows.h>

#include <string>

#include "core/color.h"
#include "core/font.h"
#include "platform/win32/win32_text.h"

namespace qs::win32 {

// The RGB value of an OLE colour; a system colour is looked up now.
COLORREF color_ref(OleColor color);

// Twips to whole pixels, halves rounded to even.
int twips_to_pixels_x(float twips);
int twips_to_pixels_y(float twips);

// The screen's pixels per logical inch, across or down (96 where the
// screen does not say).
int screen_dpi(bool horizontal);

// A GDI font made from a font object's description, remade when the
// description changes (font objects are shared and mutable).
class FontHandle {
 public:
  FontHandle() = default;
  FontHandle(const FontHandle&) = delete;
  FontHandle& operator=(const FontHandle&) = delete;
  ~FontHandle();

  // The HFONT for the font's current description (null font: the default).
  HFONT get(const FontRef& font);

 private:
  HFONT handle_ = nullptr;
  FontDesc desc_;
};

}  // namespace qs::win32
