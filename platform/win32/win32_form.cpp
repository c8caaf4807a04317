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
    RECT r{0, 0, twips_to_pixels_x(width), twips_to_pixels_y(height)};
    AdjustWindowRectEx(&r, kFormStyle, FALSE, kFormExStyle);
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
  std::u16string name_;
};

}  // namespace

std::unique_ptr<Form> make_form(Win32Platform& platform, const std::u16string& name) {
  return std::make_unique<Win32Form>(platform, name);
}

}  // namespace qs::win32
