#include "platform/win32/win32_gdi.h"

#include <cmath>

#include "platform/win32/win32_platform.h"

namespace qs::win32 {

COLORREF color_ref(OleColor color) {
  if (is_system_color(color)) return GetSysColor(static_cast<int>(system_color_index(color) & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

int twips_to_pixels_x(float twips) {
  return static_cast<int>(std::lrint(twips / twips_per_pixel_x()));
}

int twips_to_pixels_y(float twips) {
  return static_cast<int>(std::lrint(twips / twips_per_pixel_y()));
}

int screen_dpi(bool horizontal) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, horizontal ? LOGPIXELSX : LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

FontHandle::~FontHandle() {
  if (handle_ != nullptr) DeleteObject(handle_);
}

HFONT FontHandle::get(const FontRef& font) {
  const FontDesc desc = font ? font->desc() : default_font_desc();
  if (handle_ != nullptr && desc == desc_) return handle_;
  const int dpi = screen_dpi(false);
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lrint(desc.size * dpi / 72.0));
  lf.lfWeight = desc.weight;
  lf.lfItalic = desc.italic;
  lf.lfUnderline = desc.underline;
  lf.lfStrikeOut = desc.strikethrough;
  lf.lfCharSet = static_cast<BYTE>(desc.charset);
  lf.lfQuality = DEFAULT_QUALITY;
  const size_t n = std::min(desc.name.size(), static_cast<size_t>(LF_FACESIZE - 1));
  desc.name.copy(reinterpret_cast<char16_t*>(lf.lfFaceName), n);
  HFONT made = CreateFontIndirectW(&lf);
  if (made == nullptr) return handle_ != nullptr ? handle_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (handle_ != nullptr) DeleteObject(handle_);
  handle_ = made;
  desc_ = desc;
  return handle_;
}

}  // namespace qs::win32
