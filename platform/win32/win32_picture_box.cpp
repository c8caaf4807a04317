#include "platform/win32/win32_picture_box.h"

#include "platform/win32/win32_container.h"

namespace qs::win32 {

Win32PictureBox::Win32PictureBox(ContainerWindow& owner, HWND parent, std::u16string name,
                                 int sequence)
    : ElementImpl(owner, std::move(name), sequence) {
  create_window(parent, window_class(), 0, WS_EX_CLIENTEDGE);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32PictureBox::~Win32PictureBox() {
  // The window outlives this part of the object by a moment: no message
  // may reach it now.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

const wchar_t* Win32PictureBox::window_class() {
  static const wchar_t* const name = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Win32PictureBox::window_proc;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"QsPictureBox";
    register_window_class(wc);
    return L"QsPictureBox";
  }();
  return name;
}

void Win32PictureBox::set_back_color(OleColor color) {
  back_color_ = color;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT Win32PictureBox::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  const auto whole_client = [this](POINT p) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return PtInRect(&client, p) ? MouseAim{this, 0, 0} : MouseAim{};
  };
  if (mouse_.handle(hwnd_, message, wparam, lparam, whole_client)) return 0;
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(hwnd_, &client);
      HBRUSH brush = CreateSolidBrush(color_ref(back_color_));
      FillRect(reinterpret_cast<HDC>(wparam), &client, brush);
      DeleteObject(brush);
      return 1;
    }
    case WM_PRINTCLIENT:
      SendMessageW(hwnd_, WM_ERASEBKGND, wparam, 0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

LRESULT CALLBACK Win32PictureBox::window_proc(HWND hwnd, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  auto* self = reinterpret_cast<Win32PictureBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  // Exceptions cannot unwind through the system's frames: keep them for the
  // caller that started this round of messages.
  try {
    return self->handle(message, wparam, lparam);
  } catch (...) {
    self->owner().win32_platform().defer_exception(std::current_exception());
    return 0;
  }
}

}  // namespace qs::win32
