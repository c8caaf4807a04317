#include "platform/win32/win32_driver.h"

#include <shellapi.h>

#include "platform/win32/win32_message_window.h"

#include <stdexcept>

#include "platform/win32/win32_container.h"
#include "platform/win32/win32_element.h"

namespace qs::win32 {

namespace {

ElementInfo& info_of(Element& element) {
  auto* info = dynamic_cast<ElementInfo*>(&element);
  if (info == nullptr) throw std::logic_error("the element was not made by the Win32 platform");
  return *info;
}

LPARAM point_param(POINT p) { return MAKELPARAM(p.x, p.y); }

void press_and_release(HWND window, POINT p) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point_param(p));
  SendMessageW(window, WM_LBUTTONUP, 0, point_param(p));
}

}  // namespace

bool Win32Driver::reachable(HWND window) const {
  const HWND parking = platform_.parking_window();
  for (HWND w = window; w != nullptr;) {
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    // The parking window stands for the host of a surface not yet attached:
    // never shown, but disabled while a modal form holds the input.
    if (w == parking) return !(style & WS_DISABLED);
    if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) return false;
    w = (style & WS_CHILD) ? GetParent(w) : nullptr;
  }
  return window != nullptr;
}

bool Win32Driver::reachable_at(HWND window, POINT point) const {
  if (!reachable(window)) return false;
  // A window cut by a region takes no input outside it; neither do its
  // children. The check is made here, on the same regions the system
  // uses, because the driver sends its messages to the window directly
  // rather than through the system's hit test.
  POINT screen = point;
  ClientToScreen(window, &screen);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  if (probe == nullptr) return true;
  bool inside = true;
  const HWND parking = platform_.parking_window();
  for (HWND w = window; w != nullptr && w != parking && inside;) {
    if (GetWindowRgn(w, probe) != ERROR) {
      RECT r{};
      GetWindowRect(w, &r);
      inside = PtInRegion(probe, screen.x - r.left, screen.y - r.top) != 0;
    }
    w = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr;
  }
  DeleteObject(probe);
  return inside;
}

namespace {

WPARAM key_state(int16_t held, int16_t shift) {
  WPARAM w = 0;
  if (held & kLeftButton) w |= MK_LBUTTON;
  if (held & kRightButton) w |= MK_RBUTTON;
  if (held & kMiddleButton) w |= MK_MBUTTON;
  if (shift & kShiftKey) w |= MK_SHIFT;
  if (shift & kCtrlKey) w |= MK_CONTROL;
  return w;
}

UINT button_message(int16_t button, bool down) {
  switch (button) {
    case kLeftButton: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case kRightButton: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case kMiddleButton: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: throw std::invalid_argument("a mouse button is one of kLeftButton, kRightButton, kMiddleButton");
  }
}

// Holds the Alt key down in the thread's key state for the time of a
// message (the mouse messages carry only Shift and Ctrl).
class AltHeld {
 public:
  explicit AltHeld(bool held) : held_(held) {
    if (!held_) return;
    GetKeyboardState(saved_);
    BYTE state[256];
    CopyMemory(state, saved_, sizeof state);
    state[VK_MENU] |= 0x80;
    SetKeyboardState(state);
  }
  ~AltHeld() {
    if (held_) SetKeyboardState(saved_);
  }
  AltHeld(const AltHeld&) = delete;
  AltHeld& operator=(const AltHeld&) = delete;

 private:
  bool held_;
  BYTE saved_[256]{};
};

}  // namespace

void Win32Driver::send_mouse(Element& element, float x, float y, UINT message, int16_t held,
                             int16_t shift) {
  Win32Platform::ErrorCatch caught(platform_);
  ElementInfo& info = info_of(element);
  HWND target = info.element_hwnd();
  POINT p{};
  if (target != nullptr) {
    p = POINT{twips_to_pixels_x(x), twips_to_pixels_y(y)};
  } else {
    // A windowless element's point belongs to its container, unless a child
    // window covers it.
    const Bounds b = element.bounds();
    const HWND container = info.owner().hwnd();
    const float ux = info.owner().twips_per_unit_x();
    const float uy = info.owner().twips_per_unit_y();
    p = POINT{twips_to_pixels_x((b.left + x) * ux), twips_to_pixels_y((b.top + y) * uy)};
    target = ChildWindowFromPointEx(container, p, CWP_SKIPINVISIBLE);
    if (target == nullptr) target = container;
    if (target != container) MapWindowPoints(container, target, &p, 1);
  }
  // A window of this thread holding the capture gets the mouse wherever it
  // is, outside its region too, as the system delivers it.
  const HWND captured = GetCapture();
  const bool ours = captured != nullptr &&
                    GetWindowThreadProcessId(captured, nullptr) == GetCurrentThreadId();
  if (ours && captured != target) {
    MapWindowPoints(target, captured, &p, 1);
    target = captured;
  } else if (!ours && !reachable_at(target, p)) {
    return;
  }
  AltHeld alt((shift & kAltKey) != 0);
  SendMessageW(target, message, key_state(held, shift), point_param(p));
  caught.rethrow();
}

void Win32Driver::mouse_down(Element& element, float x, float y, int16_t button, int16_t shift) {
  send_mouse(element, x, y, button_message(button, true), button, shift);
}

void Win32Driver::mouse_up(Element& element, float x, float y, int16_t button, int16_t shift) {
  send_mouse(element, x, y, button_message(button, false), 0, shift);
}

void Win32Driver::mouse_move(Element& element, float x, float y, int16_t buttons, int16_t shift) {
  send_mouse(element, x, y, WM_MOUSEMOVE, buttons, shift);
}

void Win32Driver::double_click(Element& element) {
  const Bounds b = element.bounds();
  const float x = b.width / 2;
  const float y = b.height / 2;
  mouse_down(element, x, y);
  mouse_up(element, x, y);
  send_mouse(element, x, y, WM_LBUTTONDBLCLK, kLeftButton, 0);
  mouse_up(element, x, y);
}

void Win32Driver::press_key(Element& element, int16_t key_code) {
  Win32Platform::ErrorCatch caught(platform_);
  ElementInfo& info = info_of(element);
  HWND window = info.element_hwnd() != nullptr ? info.element_hwnd() : info.owner().hwnd();
  if (!reachable(window)) return;
  SetFocus(window);
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(key_code), MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  SendMessageW(window, WM_KEYDOWN, static_cast<WPARAM>(key_code), down);
  const UINT ch = MapVirtualKeyW(static_cast<UINT>(key_code), MAPVK_VK_TO_CHAR);
  if (ch != 0) SendMessageW(window, WM_CHAR, static_cast<WPARAM>(ch & 0xFFFF), down);
  SendMessageW(window, WM_KEYUP, static_cast<WPARAM>(key_code),
               down | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31));
  caught.rethrow();
}

void Win32Driver::press_key(Surface& surface, int16_t key_code) {
  Win32Platform::ErrorCatch caught(platform_);
  auto* win = dynamic_cast<Win32Surface*>(&surface);
  if (win == nullptr) throw std::logic_error("the surface was not made by the Win32 platform");
  const HWND window = win->hwnd();
  if (!reachable(window)) return;
  SetFocus(window);
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(key_code), MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  SendMessageW(window, WM_KEYDOWN, static_cast<WPARAM>(key_code), down);
  const UINT ch = MapVirtualKeyW(static_cast<UINT>(key_code), MAPVK_VK_TO_CHAR);
  if (ch != 0) SendMessageW(window, WM_CHAR, static_cast<WPARAM>(ch & 0xFFFF), down);
  SendMessageW(window, WM_KEYUP, static_cast<WPARAM>(key_code),
               down | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31));
  caught.rethrow();
}

void Win32Driver::type_text(TextBox& box, const std::u16string& text) {
  Win32Platform::ErrorCatch caught(platform_);
  HWND window = info_of(box).element_hwnd();
  if (window == nullptr || !reachable(window)) return;
  SetFocus(window);
  const LRESULT end = GetWindowTextLengthW(window);
  SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(end), end);
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t ch = static_cast<wchar_t>(text[i]);
    UINT key = 0;
    if (ch == L'\r' || ch == L'\n') {
      // CR LF is one press of Enter.
      if (ch == L'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      ch = L'\r';
      key = VK_RETURN;
    } else {
      const SHORT vk = VkKeyScanW(ch);
      key = vk == -1 ? 0 : static_cast<UINT>(vk & 0xFF);
    }
    const UINT scan = key != 0 ? MapVirtualKeyW(key, MAPVK_VK_TO_VSC) : 0;
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    if (key != 0) SendMessageW(window, WM_KEYDOWN, key, down);
    SendMessageW(window, WM_CHAR, static_cast<WPARAM>(ch), down);
    if (key != 0) {
      SendMessageW(window, WM_KEYUP, key,
                   down | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31));
    }
  }
  caught.rethrow();
}

void Win32Driver::click(Element& element) {
  Win32Platform::ErrorCatch caught(platform_);
  if (dynamic_cast<ListBox*>(&element) != nullptr) {
    throw std::invalid_argument("click_item selects an item of a list box");
  }
  ElementInfo& info = info_of(element);
  if (HWND window = info.element_hwnd()) {
    RECT client{};
    GetClientRect(window, &client);
    const POINT centre{client.right / 2, client.bottom / 2};
    if (reachable_at(window, centre)) press_and_release(window, centre);
  } else {
    // A windowless element gets the mouse through the window under its
    // centre: its container, unless a child window covers that point.
    const HWND container = info.owner().hwnd();
    const RECT r = info.pixel_rect();
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    HWND target = ChildWindowFromPointEx(container, p, CWP_SKIPINVISIBLE);
    if (target == nullptr) target = container;
    if (target != container) MapWindowPoints(container, target, &p, 1);
    if (reachable_at(target, p)) press_and_release(target, p);
  }
  caught.rethrow();
}

POINT Win32Driver::item_point(HWND list, int index) const {
  RECT client{};
  GetClientRect(list, &client);
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  if (item.top < client.top || item.bottom > client.bottom) {
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
  const POINT point{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  if (!PtInRect(&client, point)) {
    throw std::logic_error("the list box is too small to show the item: lay it out before clicking");
  }
  return point;
}

void Win32Driver::click_item(ListBox& list, int index) {
  Win32Platform::ErrorCatch caught(platform_);
  if (index < 0 || index >= list.list_count()) throw std::out_of_range("click_item: no such item");
  const HWND window = info_of(list).element_hwnd();
  if (!reachable(window)) return;
  const POINT p = item_point(window, index);
  if (reachable_at(window, p)) press_and_release(window, p);
  caught.rethrow();
}

void Win32Driver::double_click_item(ListBox& list, int index) {
  Win32Platform::ErrorCatch caught(platform_);
  if (index < 0 || index >= list.list_count()) throw std::out_of_range("double_click_item: no such item");
  const HWND window = info_of(list).element_hwnd();
  if (!reachable(window)) return;
  const POINT p = item_point(window, index);
  press_and_release(window, p);
  // The click's handler may have disabled or hidden the list; then the
  // second press never arrives.
  if (reachable(window)) {
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, point_param(p));
    SendMessageW(window, WM_LBUTTONUP, 0, point_param(p));
  }
  caught.rethrow();
}

void Win32Driver::resize(Surface& surface, float width, float height) {
  Win32Platform::ErrorCatch caught(platform_);
  auto* win = dynamic_cast<Win32Surface*>(&surface);
  if (win == nullptr) throw std::logic_error("the surface was not made by the Win32 platform");
  RECT r{};
  GetWindowRect(win->hwnd(), &r);
  MapWindowPoints(nullptr, GetParent(win->hwnd()), reinterpret_cast<POINT*>(&r), 2);
  const int w = twips_to_pixels_x(width);
  const int h = twips_to_pixels_y(height);
  if (r.right - r.left == w && r.bottom - r.top == h) {
    // The window gets no WM_SIZE for an unchanged size, but the container
    // still reports the extent it gave.
    if (surface.on_resize) surface.on_resize();
  } else {
    win->set_rect(RECT{r.left, r.top, r.left + w, r.top + h});
  }
  caught.rethrow();
}

Element* Win32Driver::element_at(Container& container, float x, float y) {
  auto* window = dynamic_cast<ContainerWindow*>(&container);
  if (window == nullptr) throw std::logic_error("the container was not made by the Win32 platform");
  return window->element_at(x, y);
}

void Win32Driver::on_modal(std::function<void(Form&)> script) {
  platform_.set_modal_script(std::move(script));
}

void Win32Driver::on_open_file(std::function<bool(OpenFileRecord&)> script) {
  platform_.set_open_file_script(std::move(script));
}

void Win32Driver::on_message_box(
    std::function<int32_t(const std::u16string&, const std::u16string&, uint32_t)> script) {
  platform_.set_message_box_script(std::move(script));
}

void Win32Driver::pump() {
  Win32Platform::ErrorCatch caught(platform_);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  caught.rethrow();
}

void Win32Driver::move_cursor(ScreenPoint point) { SetCursorPos(point.x, point.y); }

void Win32Driver::advance_time(int ms) {
  const ULONGLONG end = GetTickCount64() + ULONGLONG(ms > 0 ? ms : 0);
  for (;;) {
    pump();
    const ULONGLONG now = GetTickCount64();
    if (now >= end) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(end - now), QS_ALLINPUT);
  }
  pump();
}

const std::vector<Driver::TrayRequest>& Win32Driver::tray_requests() const {
  return platform_.tray_requests();
}

void Win32Driver::clear_tray_requests() { platform_.tray_requests().clear(); }

std::vector<Driver::TrayIcon> Win32Driver::tray_icons() const {
  std::vector<TrayIcon> out;
  for (const auto& e : platform_.tray_icons())
    out.push_back({uintptr_t(uint32_t(reinterpret_cast<uintptr_t>(e.window))), e.id});
  return out;
}

bool Win32Driver::tray_mouse(TrayIcon icon, uint32_t mouse_message) {
  for (const auto& e : platform_.tray_icons()) {
    if (uint32_t(reinterpret_cast<uintptr_t>(e.window)) != uint32_t(icon.window) || e.id != icon.id)
      continue;
    Win32Platform::ErrorCatch caught(platform_);
    SendMessageW(e.window, e.callback, e.id, LPARAM(mouse_message));
    caught.rethrow();
    return true;
  }
  return false;
}

void Win32Driver::restart_shell() {
  for (const auto& e : std::vector<Win32Platform::TrayEntry>(platform_.tray_icons())) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = e.window;
    data.uID = e.id;
    Shell_NotifyIconA(NIM_DELETE, &data);
  }
  platform_.tray_icons().clear();
  // The shell's broadcast reaches every top-level window; ours answer at once.
  Win32Platform::ErrorCatch caught(platform_);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, taskbar_created_message(), 0, 0, SMTO_ABORTIFHUNG, 2000,
                      &result);
  caught.rethrow();
}

int Win32Driver::live_message_windows() const { return win32::live_message_windows(); }

int Win32Driver::running_timers() const { return win32::running_timers(); }

}  // namespace qs::win32
