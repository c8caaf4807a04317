#include "platform/win32/win32_message_window.h"

#include <atomic>
#include <vector>

#include "core/runtime_error.h"

namespace qs::win32 {

namespace {

std::atomic<int> g_windows{0};
std::atomic<int> g_timers{0};

class Win32MessageWindow;

// A timer set on its message window with SetTimer while it is enabled and
// its interval is not 0.
class Win32Timer final : public Timer {
 public:
  Win32Timer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
  ~Win32Timer() override { stop(); }

  int32_t interval() const override { return interval_; }
  void set_interval(int32_t ms) override {
    if (ms < 0 || ms > kMaxInterval) throw RuntimeError(kErrInvalidPropertyValue);
    interval_ = ms;
    apply();
  }
  bool enabled() const override { return enabled_; }
  void set_enabled(bool enabled) override {
    enabled_ = enabled;
    apply();
  }

  UINT_PTR id() const { return id_; }
  // Whether SetTimer is in force (a tick queued before a stop is dropped).
  bool running() const { return set_; }
  void fire() {
    auto handler = on_timer;
    if (handler) handler();
  }

 private:
  void apply() {
    stop();
    if (!enabled_ || interval_ == 0) return;
    // A new SetTimer on the same id replaces the old one and starts a new period.
    if (SetTimer(window_, id_, UINT(interval_), nullptr) != 0) {
      set_ = true;
      ++g_timers;
    }
  }
  void stop() {
    if (!set_) return;
    KillTimer(window_, id_);
    set_ = false;
    --g_timers;
  }

  HWND window_;
  UINT_PTR id_;
  int32_t interval_ = 0;
  bool enabled_ = true;
  bool set_ = false;
};

const wchar_t kClassName[] = L"QsMessageWindow";

class Win32MessageWindow final : public MessageWindow {
 public:
  explicit Win32MessageWindow(Win32Platform& platform) : platform_(platform) {
    static const bool registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &Win32MessageWindow::window_proc;
      wc.lpszClassName = kClassName;
      register_window_class(wc);
      return true;
    }();
    (void)registered;
    // A top-level window that is never shown: unlike a message-only window
    // it hears the shell's broadcasts.
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, module_instance(), this);
    if (hwnd_ == nullptr) throw RuntimeError(7, u"Out of memory");
    ++g_windows;
  }

  ~Win32MessageWindow() override {
    timers_.clear();
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    --g_windows;
  }

  uintptr_t handle() const override { return reinterpret_cast<uintptr_t>(hwnd_); }

  Timer& create_timer() override {
    timers_.push_back(std::make_unique<Win32Timer>(hwnd_, timers_.size() + 1));
    return *timers_.back();
  }

 private:
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_TIMER) {
      for (auto& t : timers_) {
        if (t->id() != wparam) continue;
        if (t->running()) t->fire();
        break;
      }
      return 0;
    }
    if (message == taskbar_created_message()) {
      auto handler = on_shell_restarted;
      if (handler) handler();
      return 0;
    }
    // Callback messages: the mouse range (the tray's callback is a mouse
    // move) and the application's range. The window is never shown, so no
    // real mouse input reaches it.
    if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message >= WM_USER) {
      auto handler = on_message;
      if (handler) {
        handler(message, wparam, lparam);
        return 0;
      }
    }
    return DefWindowProcW(hwnd_, message, wparam, lparam);
  }

  static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
      auto* created = static_cast<Win32MessageWindow*>(create->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
      // Known from the first message on, before CreateWindowExW returns it.
      created->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<Win32MessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
    try {
      return self->handle(message, wparam, lparam);
    } catch (...) {
      self->platform_.defer_exception(std::current_exception());
      return 0;
    }
  }

  Win32Platform& platform_;
  HWND hwnd_ = nullptr;
  std::vector<std::unique_ptr<Win32Timer>> timers_;
};

}  // namespace

std::unique_ptr<MessageWindow> make_message_window(Win32Platform& platform) {
  return std::make_unique<Win32MessageWindow>(platform);
}

int live_message_windows() { return g_windows; }
int running_timers() { return g_timers; }

UINT taskbar_created_message() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace qs::win32
