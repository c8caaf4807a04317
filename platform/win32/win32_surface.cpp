#include "platform/win32/win32_surface.h"

#include "platform/win32/win32_container.h"

namespace qs::win32 {

namespace {

class Win32SurfaceImpl : public ContainerImpl<Win32Surface> {
 public:
  explicit Win32SurfaceImpl(Win32Platform& platform) : ContainerImpl(platform) {
    // 0 x 0 pixels until its host (or the driver) gives it a size.
    create(WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, platform.parking_window());
  }

  bool enabled() const override { return IsWindowEnabled(hwnd()) != FALSE; }
  void set_enabled(bool enabled) override { EnableWindow(hwnd(), enabled); }
  int16_t back_style() const override { return back_style_; }
  void set_back_style(int16_t style) override {
    if (style != 0 && style != 1) throw RuntimeError(kErrInvalidPropertyValue);
    back_style_ = style;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
  int16_t border_style() const override { return border_style_; }
  void set_border_style(int16_t style) override {
    if (style != 0 && style != 1) throw RuntimeError(kErrInvalidPropertyValue);
    border_style_ = style;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  HWND hwnd() const override { return ContainerWindow::hwnd(); }
  uintptr_t window_handle() const override { return reinterpret_cast<uintptr_t>(hwnd()); }

  void set_height(float height) override {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
    const int h = twips_to_pixels_y(height);
    if (r.bottom - r.top == h) return;
    set_rect(RECT{r.left, r.top, r.right, r.top + h});
  }

  void set_size(float width, float height) override {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
    const int w = twips_to_pixels_x(width);
    const int h = twips_to_pixels_y(height);
    if (r.right - r.left == w && r.bottom - r.top == h) return;
    set_rect(RECT{r.left, r.top, r.left + w, r.top + h});
  }

  void attach(HWND parent, const RECT& pos) override {
    if (parent == nullptr) {
      ShowWindow(hwnd(), SW_HIDE);
      SetParent(hwnd(), win32_platform().parking_window());
      return;
    }
    SetParent(hwnd(), parent);
    set_rect(pos);
    ShowWindow(hwnd(), SW_SHOWNA);
  }

  void set_rect(const RECT& pos) override {
    SetWindowPos(hwnd(), nullptr, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void draw(HDC dc, const RECT& bounds) override {
    const int saved = SaveDC(dc);
    RECT client{};
    GetClientRect(hwnd(), &client);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    OffsetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
    paint_content(dc, client);
    // The child windows, bottom of the Z order first, each at its place.
    for (HWND c = GetWindow(hwnd(), GW_CHILD) ? GetWindow(GetWindow(hwnd(), GW_CHILD), GW_HWNDLAST)
                                              : nullptr;
         c != nullptr; c = GetWindow(c, GW_HWNDPREV)) {
      if (!(GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE)) continue;
      RECT r{};
      GetWindowRect(c, &r);
      MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
      POINT old{};
      OffsetViewportOrgEx(dc, r.left, r.top, &old);
      SendMessageW(c, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                   PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
      SetViewportOrgEx(dc, old.x, old.y, nullptr);
    }
    RestoreDC(dc, saved);
  }

 protected:
  std::optional<COLORREF> fill_color() const override {
    if (back_style_ == 0) return std::nullopt;
    return color_ref(back_color_);
  }

  void paint_overlay(HDC dc, const RECT& client) override {
    if (border_style_ != 1) return;
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
    FrameRect(dc, &client, brush);
    DeleteObject(brush);
  }

  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case WM_SIZE:
        if (on_resize) on_resize();
        return 0;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        // A surface with no child window to hold the focus takes it itself
        // on a click, so its keys come to it.
        if (GetWindow(hwnd(), GW_CHILD) == nullptr && GetFocus() != hwnd()) SetFocus(hwnd());
        break;
      case WM_KEYDOWN:
      case WM_KEYUP: {
        auto handler = message == WM_KEYDOWN ? on_key_down : on_key_up;
        if (!handler) break;
        int16_t code = static_cast<int16_t>(wparam);
        int16_t shift = shift_state();
        handler(code, shift);
        return 0;
      }
      case WM_CHAR: {
        auto handler = on_key_press;
        if (!handler) break;
        int16_t ascii = static_cast<int16_t>(wparam);
        handler(ascii);
        return 0;
      }
      default:
        break;
    }
    return ContainerWindow::handle(message, wparam, lparam);
  }

  static int16_t shift_state() {
    int16_t s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= kShiftKey;
    if (GetKeyState(VK_CONTROL) < 0) s |= kCtrlKey;
    if (GetKeyState(VK_MENU) < 0) s |= kAltKey;
    return s;
  }

 private:
  // The runtime's user-control surface starts opaque.
  int16_t back_style_ = 1;
  int16_t border_style_ = 0;
};

}  // namespace

std::unique_ptr<Win32Surface> make_surface(Win32Platform& platform) {
  return std::make_unique<Win32SurfaceImpl>(platform);
}

}  // namespace qs::win32
