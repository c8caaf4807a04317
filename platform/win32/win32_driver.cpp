#include "platform/win32/win32_driver.h"

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

void Win32Driver::click(Element& element) {
  if (dynamic_cast<ListBox*>(&element) != nullptr) {
    throw std::invalid_argument("click_item selects an item of a list box");
  }
  ElementInfo& info = info_of(element);
  if (HWND window = info.element_hwnd()) {
    if (reachable(window)) {
      RECT client{};
      GetClientRect(window, &client);
      press_and_release(window, POINT{client.right / 2, client.bottom / 2});
    }
  } else {
    // A windowless element gets the mouse through the window under its
    // centre: its container, unless a child window covers that point.
    const HWND container = info.owner().hwnd();
    const RECT r = info.pixel_rect();
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    HWND target = ChildWindowFromPointEx(container, p, CWP_SKIPINVISIBLE);
    if (target == nullptr) target = container;
    if (target != container) MapWindowPoints(container, target, &p, 1);
    if (reachable(target)) press_and_release(target, p);
  }
  platform_.rethrow_deferred();
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
  if (index < 0 || index >= list.list_count()) throw std::out_of_range("click_item: no such item");
  const HWND window = info_of(list).element_hwnd();
  if (!reachable(window)) return;
  press_and_release(window, item_point(window, index));
  platform_.rethrow_deferred();
}

void Win32Driver::double_click_item(ListBox& list, int index) {
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
  platform_.rethrow_deferred();
}

void Win32Driver::resize(Surface& surface, float width, float height) {
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
  platform_.rethrow_deferred();
}

Element* Win32Driver::element_at(Container& container, float x, float y) {
  auto* window = dynamic_cast<ContainerWindow*>(&container);
  if (window == nullptr) throw std::logic_error("the container was not made by the Win32 platform");
  return window->element_at(x, y);
}

void Win32Driver::on_modal(std::function<void(Form&)> script) {
  platform_.set_modal_script(std::move(script));
}

void Win32Driver::pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  platform_.rethrow_deferred();
}

}  // namespace qs::win32
