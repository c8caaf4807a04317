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
  items_.insert(items_.begin() + at, ListItem{text, 0});
}

void Win32ListBox::add_items(std::vector<ListItem> items) {
  if (items.empty()) return;
  Update hold(*this);
  // Room for every item and its text at once, instead of regrowing per item.
  size_t chars = 0;
  for (const ListItem& item : items) chars += item.text.size() + 1;
  SendMessageW(hwnd_, LB_INITSTORAGE, static_cast<WPARAM>(items.size()),
               static_cast<LPARAM>(chars * sizeof(wchar_t)));
  items_.reserve(items_.size() + items.size());
  for (ListItem& item : items) {
    const LRESULT r = SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item.text)));
    if (r == LB_ERR || r == LB_ERRSPACE) throw RuntimeError(7);  // out of memory
    SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(r), static_cast<LPARAM>(item.data));
    items_.push_back(std::move(item));
  }
}

void Win32ListBox::remove_item(int index) {
  if (index < 0 || index >= list_count()) throw RuntimeError(kErrInvalidCall);
  SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  items_.erase(items_.begin() + index);
}

void Win32ListBox::clear() {
  SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
  items_.clear();
}

int Win32ListBox::list_count() const { return static_cast<int>(items_.size()); }

std::u16string Win32ListBox::list(int index) const {
  check_item(index);
  return items_[static_cast<size_t>(index)].text;
}

void Win32ListBox::set_list(int index, const std::u16string& text) {
  check_item(index);
  // The list box cannot change an item's text in place: replace the item,
  // keeping its item data and the selection.
  ListItem& item = items_[static_cast<size_t>(index)];
  const int selected = list_index();
  Update hold(*this);
  SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide(text)));
  SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(item.data));
  item.text = text;
  if (selected == index) SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int32_t Win32ListBox::item_data(int index) const {
  check_item(index);
  return items_[static_cast<size_t>(index)].data;
}

void Win32ListBox::set_item_data(int index, int32_t data) {
  check_item(index);
  SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
  items_[static_cast<size_t>(index)].data = data;
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

void Win32ListBox::begin_update() {
  if (open_updates_++ > 0) return;
  hidden_at_update_ = (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) == 0;
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
}

void Win32ListBox::end_update() {
  if (--open_updates_ > 0) return;
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  // A window procedure that passes WM_SETREDRAW on to the default one
  // shows the window when redraw comes back on: a hidden list stays hidden.
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  if (hidden_at_update_ && (style & WS_VISIBLE) != 0)
    SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32ListBox::notify(WORD code) {
  if (code == LBN_SELCHANGE && on_click) on_click();
  if (code == LBN_DBLCLK && on_dbl_click) on_dbl_click();
}

}  // namespace qs::win32
