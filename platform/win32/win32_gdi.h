// Conversions between the platform-neutral values (twips, OLE colours, font
// descriptions, UTF-16 text) and what user32 and gdi32 take.
#pragma once

#include <windows.h>

#include <string>

#include "core/color.h"
#include "core/font.h"

namespace qs::win32 {

// The RGB value of an OLE colour; a system colour is looked up now.
COLORREF color_ref(OleColor color);

// Twips to whole pixels, halves rounded to even.
int twips_to_pixels_x(float twips);
int twips_to_pixels_y(float twips);

// The text as the wide string the W functions take.
inline const wchar_t* wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string from_wide(const wchar_t* text, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

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
