#include "platform/win32/win32_mouse.h"

#include "platform/win32/win32_platform.h"

namespace qs::win32 {

namespace {

enum class Kind { kNone, kDown, kDouble, kUp, kMove };

struct Decoded {
  Kind kind = Kind::kNone;
  int16_t button = 0;
};

Decoded decode(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: return {Kind::kDown, kLeftButton};
    case WM_RBUTTONDOWN: return {Kind::kDown, kRightButton};
    case WM_MBUTTONDOWN: return {Kind::kDown, kMiddleButton};
    case WM_LBUTTONDBLCLK: return {Kind::kDouble, kLeftButton};
    // Only the left button double-clicks; another button's second press is a press.
    case WM_RBUTTONDBLCLK: return {Kind::kDown, kRightButton};
    case WM_MBUTTONDBLCLK: return {Kind::kDown, kMiddleButton};
    case WM_LBUTTONUP: return {Kind::kUp, kLeftButton};
    case WM_RBUTTONUP: return {Kind::kUp, kRightButton};
    case WM_MBUTTONUP: return {Kind::kUp, kMiddleButton};
    case WM_MOUSEMOVE: return {Kind::kMove, 0};
    default: return {};
  }
}

int16_t held_buttons(WPARAM wparam) {
  int16_t b = 0;
  if (wparam & MK_LBUTTON) b |= kLeftButton;
  if (wparam & MK_RBUTTON) b |= kRightButton;
  if (wparam & MK_MBUTTON) b |= kMiddleButton;
  return b;
}

int16_t shift_keys(WPARAM wparam) {
  int16_t s = 0;
  if (wparam & MK_SHIFT) s |= kShiftKey;
  if (wparam & MK_CONTROL) s |= kCtrlKey;
  if (GetKeyState(VK_MENU) < 0) s |= kAltKey;
  return s;
}

// Runs a handler from a copy, so a handler that replaces itself keeps running.
void fire(const std::function<void(MouseReport&)>& handler, MouseReport report) {
  auto copy = handler;
  if (copy) copy(report);
}

void fire(const std::function<void()>& handler) {
  auto copy = handler;
  if (copy) copy();
}

}  // namespace

bool MouseTracker::handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                          const HitTest& hit, float units_per_pixel_x, float units_per_pixel_y) {
  if (message == WM_CAPTURECHANGED) {
    if (reinterpret_cast<HWND>(lparam) != window) forget();
    return true;
  }
  const Decoded d = decode(message);
  if (d.kind == Kind::kNone) return false;
  const POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  const float x = static_cast<float>(point.x) * units_per_pixel_x;
  const float y = static_cast<float>(point.y) * units_per_pixel_y;
  const int16_t shift = shift_keys(wparam);
  const MouseAim under = hit(point);

  switch (d.kind) {
    case Kind::kDown:
    case Kind::kDouble: {
      const MouseAim target = pressed_.source != nullptr ? pressed_ : under;
      if (target.source == nullptr) return true;
      if (pressed_.source == nullptr) {
        pressed_ = target;
        button_ = d.button;
        by_double_ = d.kind == Kind::kDouble;
        SetCapture(window);
      }
      if (d.kind == Kind::kDouble) {
        fire(target.source->on_dbl_click);
      } else {
        fire(target.source->on_mouse_down, MouseReport{d.button, shift, x - target.left, y - target.top});
      }
      return true;
    }
    case Kind::kMove: {
      const MouseAim target = pressed_.source != nullptr ? pressed_ : under;
      if (target.source != nullptr) {
        fire(target.source->on_mouse_move,
             MouseReport{held_buttons(wparam), shift, x - target.left, y - target.top});
      }
      return true;
    }
    case Kind::kUp: {
      const MouseAim target = pressed_.source != nullptr ? pressed_ : under;
      bool clicks = false;
      if (pressed_.source != nullptr && d.button == button_) {
        clicks = d.button == kLeftButton && !by_double_ && under.source == pressed_.source;
        pressed_ = {};
        if (GetCapture() == window) ReleaseCapture();
      }
      if (target.source == nullptr) return true;
      fire(target.source->on_mouse_up, MouseReport{d.button, shift, x - target.left, y - target.top});
      if (clicks) fire(target.source->on_click);
      return true;
    }
    case Kind::kNone:
      break;
  }
  return false;
}

}  // namespace qs::win32
