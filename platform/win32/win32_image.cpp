#include "platform/win32/win32_image.h"

#include "platform/win32/win32_container.h"

namespace qs::win32 {

Win32Image::Win32Image(ContainerWindow& owner, std::u16string name, int sequence)
    : ElementImpl(owner, std::move(name), sequence) {}

void Win32Image::repaint() { invalidate_in_owner(owner_, pixel_rect()); }

void Win32Image::set_picture(PictureRef picture) {
  picture_ = std::move(picture);
  repaint();
}

void Win32Image::set_stretch(bool stretch) {
  stretch_ = stretch;
  repaint();
}

void Win32Image::set_tool_tip_text(const std::u16string& text) {
  tool_tip_text_ = text;
  owner_.update_tool_tips();
}

void Win32Image::paint(HDC dc) {
  if (!visible() || picture_ == nullptr || picture_->handle == 0) return;
  const RECT rect = pixel_rect();
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int saved = SaveDC(dc);
  // The picture never spills over the element's rectangle.
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  if (picture_->type == PictureType::kBitmap) {
    auto bitmap = reinterpret_cast<HBITMAP>(picture_->handle);
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) != 0) {
      HDC source = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(source, bitmap);
      if (stretch_) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, rect.left, rect.top, width, height, source, 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
      } else {
        BitBlt(dc, rect.left, rect.top, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
      }
      SelectObject(source, old);
      DeleteDC(source);
    }
  } else if (picture_->type == PictureType::kIcon) {
    // Width and height 0 draw the icon at its own size.
    DrawIconEx(dc, rect.left, rect.top, reinterpret_cast<HICON>(picture_->handle),
               stretch_ ? width : 0, stretch_ ? height : 0, 0, nullptr, DI_NORMAL);
  }
  RestoreDC(dc, saved);
}

}  // namespace qs::win32
