// Turns a window's mouse messages into the reports of the element under the
// mouse. A press captures the mouse for its element until the button that
// made it goes up; the release reports a click when the left button goes up
// over the element that took the press, unless the press was a double
// click's second.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/platform.h"
#include "platform/win32/win32_platform.h"

namespace qs::win32 {

// An element that takes the mouse, with its origin in the window's client
// area (in the units the tracker reports in).
struct MouseAim {
  MouseSource* source = nullptr;
  float left = 0;
  float top = 0;
};

class MouseTracker {
 public:
  // The element that takes the mouse at a client point (pixels), if any.
  using HitTest = std::function<MouseAim(POINT)>;

  // Handles a mouse message of `window`; false when it is none. Points are
  // reported in units of the given size per pixel (twips unless told).
  bool handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam, const HitTest& hit,
              float units_per_pixel_x = twips_per_pixel_x(),
              float units_per_pixel_y = twips_per_pixel_y());
  // Drops the press (the capture was lost or the elements are going).
  void forget() { pressed_ = {}; }

 private:
  MouseAim pressed_;
  int16_t button_ = 0;
  bool by_double_ = false;
};

}  // namespace qs::win32
