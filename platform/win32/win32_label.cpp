#include "platform/win32/win32_label.h"

#include "platform/win32/win32_container.h"

namespace qs::win32 {

Win32Label::Win32Label(ContainerWindow& owner, std::u16string name, int sequence)
    : ElementImpl(owner, std::move(name), sequence) {}

void Win32Label::repaint() { invalidate_in_owner(owner_, pixel_rect()); }

void Win32Label::set_caption(const std::u16string& caption) {
  caption_ = caption;
  repaint();
}

void Win32Label::set_back_color(OleColor color) {
  back_color_ = color;
  repaint();
}

void Win32Label::set_fore_color(OleColor color) {
  fore_color_ = color;
  repaint();
}

void Win32Label::set_back_style(int16_t style) {
  if (style != 0 && style != 1) throw RuntimeError(kErrInvalidPropertyValue);
  back_style_ = style;
  repaint();
}

void Win32Label::set_alignment(Alignment alignment) {
  if (alignment != Alignment::kLeft && alignment != Alignment::kRight &&
      alignment != Alignment::kCenter) {
    throw RuntimeError(kErrInvalidPropertyValue);
  }
  alignment_ = alignment;
  repaint();
}

void Win32Label::set_tool_tip_text(const std::u16string& text) {
  tool_tip_text_ = text;
  owner_.update_tool_tips();
}

void Win32Label::paint(HDC dc) {
  if (!visible()) return;
  RECT rect = pixel_rect();
  if (back_style_ == 1) {
    HBRUSH brush = CreateSolidBrush(color_ref(back_color_));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
  HGDIOBJ old_font = SelectObject(dc, font_handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled() ? color_ref(fore_color_) : GetSysColor(COLOR_GRAYTEXT));
  UINT format = DT_WORDBREAK | DT_NOPREFIX;
  if (alignment_ == Alignment::kRight) format |= DT_RIGHT;
  if (alignment_ == Alignment::kCenter) format |= DT_CENTER;
  DrawTextW(dc, wide(caption_), static_cast<int>(caption_.size()), &rect, format);
  SelectObject(dc, old_font);
}

}  // namespace qs::win32
