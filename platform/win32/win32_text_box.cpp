#include "platform/win32/win32_text_box.h"

#include <vector>

#include "platform/win32/win32_text.h"

namespace qs::win32 {

namespace {

DWORD edit_style(TextBoxStyle style) {
  DWORD s = ES_LEFT | WS_TABSTOP | WS_BORDER;
  // Enter starts a new line in a multi-line box, also inside a dialog.
  if (style.multi_line) s |= ES_MULTILINE | ES_WANTRETURN;
  const auto bars = static_cast<int16_t>(style.scroll_bars);
  if (bars & static_cast<int16_t>(ScrollBars::kHorizontal)) s |= WS_HSCROLL;
  else s |= ES_AUTOHSCROLL;
  if (bars & static_cast<int16_t>(ScrollBars::kVertical)) s |= WS_VSCROLL;
  else if (style.multi_line) s |= ES_AUTOVSCROLL;
  return s;
}

}  // namespace

Win32TextBox::Win32TextBox(ContainerWindow& owner, HWND parent, std::u16string name, int sequence,
                           TextBoxStyle style)
    : ElementImpl(owner, std::move(name), sequence), style_(style) {
  create_window(parent, L"EDIT", edit_style(style), WS_EX_CLIENTEDGE);
  // No length limit beyond the platform's own.
  SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
}

std::u16string Win32TextBox::text() const {
  const int length = GetWindowTextLengthW(hwnd_);
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
  const int got = GetWindowTextW(hwnd_, text.data(), length + 1);
  return from_wide(text.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void Win32TextBox::set_text(const std::u16string& text) {
  if (text == known_ && text == this->text()) return;
  SetWindowTextW(hwnd_, wide(text));
  // The window may or may not have reported the change itself.
  sync();
}

void Win32TextBox::notify(WORD code) {
  if (code == EN_CHANGE) sync();
}

void Win32TextBox::sync() {
  std::u16string now = text();
  if (now == known_) return;
  known_ = std::move(now);
  if (on_change) on_change();
}

}  // namespace qs::win32
