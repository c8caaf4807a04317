#include "platform/win32/win32_list_box.h"

#include <algorithm>

#include "platform/win32/win32_container.h"

namespace qs::win32 {

// The list takes exactly the height it is given (no rounding to whole rows),
// so its bounds and its window agree.
Win32ListBox::Win32ListBox(ContainerWindow& owner, HWND parent, std::u16string name, int sequence)
    : ElementImpl(owner, std::move(name), sequence) {
  create_window(parent, L"LISTBOX",
                LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_BORDER);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  list_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32ListBox::window_proc)));
}

Win32ListBox::~Win32ListBox() {
  // The window outlives this part of the object by a moment: give it back
  // its own procedure.
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(list_proc_));
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  if (brush_ != nullptr) DeleteObject(brush_);
}

void Win32ListBox::set_back_color(OleColor color) {
  back_color_ = color;
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = nullptr;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32ListBox::set_fore_color(OleColor color) {
  fore_color_ = color;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Win32ListBox::paint_colors(HDC dc) {
  if (brush_ == nullptr) brush_ = CreateSolidBrush(color_ref(back_color_));
  SetTextColor(dc, color_ref(fore_color_));
  SetBkColor(dc, color_ref(back_color_));
  return brush_;
}

void Win32ListBox::set_integral_height(bool on) {
  integral_height_ = on;
  const Bounds b = bounds();
  move(b.left, b.top, b.width, b.height);
}

void Win32ListBox::move(float left, std::optional<float> top, std::optional<float> width,
                        std::optional<float> height) {
  if (integral_height_ && height && *height >= 0) {
    const int row = static_cast<int>(SendMessageW(hwnd_, LB_GETITEMHEIGHT, 0, 0));
    RECT window{}, client{};
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    const int frame = (window.bottom - window.top) - (client.bottom - client.top);
    const int asked = twips_to_pixels_y(*height * twips_per_unit_y());
    if (row > 0) {
      const int rows = std::max(1, (asked - frame) / row);
      const int taken = rows * row + frame;
      if (taken != asked) height = static_cast<float>(taken) * twips_per_pixel_y() / twips_per_unit_y();
    }
  }
  ElementImpl::move(left, top, width, height);
}

namespace {

int16_t shift_state() {
  int16_t s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= kShiftKey;
  if (GetKeyState(VK_CONTROL) < 0) s |= kCtrlKey;
  if (GetKeyState(VK_MENU) < 0) s |= kAltKey;
  return s;
}

}  // namespace

LRESULT Win32ListBox::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  auto pass = [&](WPARAM w) { return CallWindowProcW(list_proc_, hwnd_, message, w, lparam); };
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
      auto handler = message == WM_KEYDOWN ? on_key_down : on_key_up;
      if (!handler) break;
      int16_t code = static_cast<int16_t>(wparam);
      int16_t shift = shift_state();
      handler(code, shift);
      if (code == 0) return 0;
      return pass(static_cast<WPARAM>(static_cast<uint16_t>(code)));
    }
    case WM_CHAR: {
      auto handler = on_key_press;
      if (!handler) break;
      int16_t ascii = static_cast<int16_t>(wparam);
      handler(ascii);
      if (ascii == 0) return 0;
      return pass(static_cast<WPARAM>(static_cast<uint16_t>(ascii)));
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE: {
      const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
      const bool up = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
      int16_t button = 0;
      if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) button = kLeftButton;
      if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) button = kRightButton;
      if (message == WM_MBUTTONDOWN || message == WM_MBUTTONUP) button = kMiddleButton;
      if (!down && !up) {
        if (wparam & MK_LBUTTON) button |= kLeftButton;
        if (wparam & MK_RBUTTON) button |= kRightButton;
        if (wparam & MK_MBUTTON) button |= kMiddleButton;
      }
      int16_t shift = 0;
      if (wparam & MK_SHIFT) shift |= kShiftKey;
      if (wparam & MK_CONTROL) shift |= kCtrlKey;
      if (GetKeyState(VK_MENU) < 0) shift |= kAltKey;
      MouseReport report{button, shift,
                         static_cast<float>(static_cast<short>(LOWORD(lparam))) * twips_per_pixel_x(),
                         static_cast<float>(static_cast<short>(HIWORD(lparam))) * twips_per_pixel_y()};
      // The list box acts first (selection, capture), then the report goes out.
      const LRESULT r = pass(wparam);
      auto handler = down ? on_mouse_down : up ? on_mouse_up : on_mouse_move;
      if (handler) handler(report);
      return r;
    }
    default:
      break;
  }
  return pass(wparam);
}

LRESULT CALLBACK Win32ListBox::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<Win32ListBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
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
