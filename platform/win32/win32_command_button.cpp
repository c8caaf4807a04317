#include "platform/win32/win32_command_button.h"

#include <vector>

namespace qs::win32 {

Win32CommandButton::Win32CommandButton(ContainerWindow& owner, HWND parent, std::u16string name,
                                       int sequence)
    : ElementImpl(owner, std::move(name), sequence) {
  create_window(parent, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
}

std::u16string Win32CommandButton::caption() const {
  const int length = GetWindowTextLengthW(hwnd_);
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
  const int got = GetWindowTextW(hwnd_, text.data(), length + 1);
  return from_wide(text.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void Win32CommandButton::set_caption(const std::u16string& caption) {
  SetWindowTextW(hwnd_, wide(caption));
}

void Win32CommandButton::notify(WORD code) {
  if (code == BN_CLICKED && on_click) on_click();
}

}  // namespace qs::win32
