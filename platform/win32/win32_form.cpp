#include "platform/win32/win32_form.h"

#include <optional>

#include <stdexcept>
#include <vector>

#include "platform/win32/win32_container.h"

namespace qs::win32 {

namespace {

// Posted to a form shown modally under the driver: runs the modal script
// from inside the form's message loop.
constexpr UINT kRunModalScript = WM_APP + 1;

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;

// Disables the thread's other top-level windows (the parking window of
// unattached surfaces included) for the time of a modal show.
class ThreadWindowsDisabled {
 public:
  ThreadWindowsDisabled(HWND modal, HWND parking) : modal_(modal), parking_(parking) {
    EnumThreadWindows(GetCurrentThreadId(), &ThreadWindowsDisabled::visit, reinterpret_cast<LPARAM>(this));
  }
  ~ThreadWindowsDisabled() {
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
      if (IsWindow(*it)) EnableWindow(*it, TRUE);
    }
  }

 private:
  static BOOL CALLBACK visit(HWND window, LPARAM param) {
    auto* self = reinterpret_cast<ThreadWindowsDisabled*>(param);
    if (window != self->modal_ && IsWindowEnabled(window) &&
        (window == self->parking_ || IsWindowVisible(window))) {
      EnableWindow(window, FALSE);
      self->disabled_.push_back(window);
    }
    return TRUE;
  }

  HWND modal_;
  HWND parking_;
  std::vector<HWND> disabled_;
};

class Win32Form : public ContainerImpl<Form> {
 public:
  Win32Form(Win32Platform& platform, std::u16string name) : ContainerImpl(platform), name_(std::move(name)) {
    create(kFormExStyle, kFormStyle, nullptr);
    SetWindowTextW(hwnd(), wide(name_));
  }

  std::u16string caption() const override {
    const int length = GetWindowTextLengthW(hwnd());
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    const int got = GetWindowTextW(hwnd(), text.data(), length + 1);
    return from_wide(text.data(), got > 0 ? static_cast<size_t>(got) : 0);
  }
  void set_caption(const std::u16string& caption) override { SetWindowTextW(hwnd(), wide(caption)); }

  void set_client_size(float width, float height) override {
    if (width < 0 || height < 0) throw RuntimeError(kErrInvalidPropertyValue);
    set_client_pixels(twips_to_pixels_x(width), twips_to_pixels_y(height), 0);
  }

  void show() override {
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
  }
  float left() const override {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return static_cast<float>(r.left) * twips_per_pixel_x();
  }
  float top() const override {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return static_cast<float>(r.top) * twips_per_pixel_y();
  }
  void move_to(float left, float top) override {
    SetWindowPos(hwnd(), nullptr, twips_to_pixels_x(left), twips_to_pixels_y(top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  int16_t border_style() const override { return border_style_; }
  void set_border_style(int16_t style) override {
    if (style != 0 && style != 3) throw RuntimeError(kErrInvalidPropertyValue);
    if (style == border_style_) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    border_style_ = style;
    SetWindowLongPtrW(hwnd(), GWL_STYLE, static_cast<LONG_PTR>(window_style()));
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, static_cast<LONG_PTR>(window_ex_style()));
    // The client area keeps its size; the frame around it changes.
    set_client_pixels(client.right - client.left, client.bottom - client.top, SWP_FRAMECHANGED);
  }
  PictureRef picture() const override { return picture_; }
  void set_picture(PictureRef picture) override {
    picture_ = std::move(picture);
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  void show_modal() override {
    // The runtime refuses to show a form modally that is already shown.
    if (is_shown()) throw RuntimeError(400);
    Win32Platform& platform = win32_platform();
    const bool scripted = platform.driver_in_use();
    if (scripted && !platform.modal_script()) {
      throw std::logic_error("a form was shown modally with no modal script set");
    }
    const HWND window = hwnd();
    // A test's script runs inside the loop: its errors come back from here.
    std::optional<Win32Platform::ErrorCatch> caught;
    if (scripted) caught.emplace(platform);
    ThreadWindowsDisabled others(window, platform.parking_window());
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    if (scripted) PostMessageW(window, kRunModalScript, 0, 0);
    MSG msg;
    while (IsWindow(window) && IsWindowVisible(window)) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        // Leave WM_QUIT for the outer loop.
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (got == -1) break;
      if (!IsDialogMessageW(window, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    if (caught) caught->rethrow();
  }

  void hide() override { ShowWindow(hwnd(), SW_HIDE); }
  bool is_shown() const override { return IsWindowVisible(hwnd()) != FALSE; }

 protected:
  std::optional<COLORREF> fill_color() const override { return color_ref(back_color_); }

  void paint_underlay(HDC dc, const RECT&) override {
    if (picture_ && picture_->handle != 0) draw_picture_at_own_size(dc, *picture_);
  }

  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_CLOSE) {
      // Closing by the system menu ends the modal show; the owner unloads.
      hide();
      return 0;
    }
    if (message == kRunModalScript) {
      const std::function<void(Form&)> script = win32_platform().modal_script();
      try {
        if (script) script(*this);
      } catch (...) {
        hide();
        throw;
      }
      if (is_shown()) {
        hide();
        throw std::logic_error("the modal script left the form shown");
      }
      return 0;
    }
    return ContainerWindow::handle(message, wparam, lparam);
  }

 private:
  DWORD window_style() const {
    return border_style_ == 0 ? (WS_POPUP | WS_CLIPCHILDREN) : kFormStyle;
  }
  DWORD window_ex_style() const {
    return border_style_ == 0 ? WS_EX_CONTROLPARENT : kFormExStyle;
  }
  // Sizes the window so its client area is width x height pixels.
  void set_client_pixels(int width, int height, UINT extra_flags) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, window_style(), FALSE, window_ex_style());
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | extra_flags);
  }

  // A bitmap or icon from the client area's top-left corner, at its own
  // size (HIMETRIC converted to this display's pixels).
  static void draw_picture_at_own_size(HDC dc, const Picture& picture) {
    const int w = MulDiv(picture.width, GetDeviceCaps(dc, LOGPIXELSX), 2540);
    const int h = MulDiv(picture.height, GetDeviceCaps(dc, LOGPIXELSY), 2540);
    if (picture.type == PictureType::kIcon) {
      DrawIconEx(dc, 0, 0, reinterpret_cast<HICON>(picture.handle), w, h, 0, nullptr, DI_NORMAL);
    } else if (picture.type == PictureType::kBitmap) {
      HDC source = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(source, reinterpret_cast<HBITMAP>(picture.handle));
      BitBlt(dc, 0, 0, w, h, source, 0, 0, SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
    }
  }

  std::u16string name_;
  int16_t border_style_ = 3;
  PictureRef picture_;
};

}  // namespace

std::unique_ptr<Form> make_form(Win32Platform& platform, const std::u16string& name) {
  return std::make_unique<Win32Form>(platform, name);
}

}  // namespace qs::win32
