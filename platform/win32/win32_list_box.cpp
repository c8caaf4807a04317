#include "platform/win32/win32_list_box.h"

namespace qs::win32 {

// The list takes exactly the height it is given (no rounding to whole rows),
// so its bounds and its window agree.
Win32ListBox::Win32ListBox(ContainerWindow& owner, HWND parent, std::u16string name, int sequence)
    : ElementImpl(owner, std::move(name), sequence) {
  create_window(parent, L"LISTBOX",
                LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_BORDER);
}

void Win32ListBox::check_item(int index) const {
  if (index < 0 || index >= list_count()) throw RuntimeError(kErrInvalidArrayIndex);
}

void Win32ListBox::add_item(const std::u16string& text, std::optional<int> index) {
  const int count = list_count();
  if (index && (*index < 0 || *index > count)) throw RuntimeError(kErrInvalidCall);
  const int at = index ? *index : count;
  const LRESULT r = SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(at),
                                 reinterpret_cast<LPARAM>(wide(text)));
  if (r == LB_ERR || r == LB_ERRSPACE) throw RuntimeError(7);  // out of memory
  SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(r), 0);
  texts_.insert(texts_.begin() + at, text);
}

void Win32ListBox::remove_item(int index) {
  if (index < 0 || index >= list_count()) throw RuntimeError(kErrInvalidCall);
  SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  texts_.erase(texts_.begin() + index);
}

void Win32ListBox::clear() {
  SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
  texts_.clear();
}

int Win32ListBox::list_count() const {
  return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
}

std::u16string Win32ListBox::list(int index) const {
  check_item(index);
  return texts_[static_cast<size_t>(index)];
}

void Win32ListBox::set_list(int index, const std::u16string& text) {
  check_item(index);
  // The list box cannot change an item's text in place: replace the item,
  // keeping its item data and the selection.
  const LRESULT data = SendMessageW(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  const int selected = list_index();
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide(text)));
  SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
  texts_[static_cast<size_t>(index)] = text;
  if (selected == index) SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int32_t Win32ListBox::item_data(int index) const {
  check_item(index);
  return static_cast<int32_t>(SendMessageW(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void Win32ListBox::set_item_data(int index, int32_t data) {
  check_item(index);
  SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

int Win32ListBox::list_index() const {
  const LRESULT r = SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
  return r == LB_ERR ? -1 : static_cast<int>(r);
}

void Win32ListBox::set_list_index(int index) {
  if (index < -1 || index >= list_count()) throw RuntimeError(kErrInvalidPropertyValue);
  SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // LB_SETCURSEL sends no notification, but the runtime's list box reports
  // a click whenever code selects an item.
  if (index >= 0 && on_click) on_click();
}

void Win32ListBox::notify(WORD code) {
  if (code == LBN_SELCHANGE && on_click) on_click();
  if (code == LBN_DBLCLK && on_dbl_click) on_dbl_click();
}

}  // namespace qs::win32
