// The shown top-level window a real-window benchmark puts its controls and
// bare windows on, and the paint-and-pump step that ends each timed step.
#pragma once

#include <windows.h>

namespace qs::bench {

inline LRESULT CALLBACK top_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// Registers a plain button-face window class and shows a window of it at
// the screen's origin.
inline HWND open_top_window(const wchar_t* class_name, const wchar_t* title, DWORD style,
                            int width, int height) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = top_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = class_name;
  RegisterClassExW(&wc);
  const HWND top = CreateWindowExW(0, class_name, title, style | WS_CLIPCHILDREN | WS_VISIBLE, 0,
                                   0, width, height, nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(top, SW_SHOW);
  return top;
}

// Paints the window and its children now and empties the message queue.
inline void pump(HWND top) {
  RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace qs::bench
