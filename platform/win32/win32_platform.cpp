#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_gdi.h"

#include <string>
#include <vector>

#include <utility>

#include "platform/win32/win32_driver.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_surface.h"

namespace qs::win32 {

struct Win32Platform::State {
  HWND parking = nullptr;
  std::unique_ptr<Win32Driver> driver;
  std::function<void(Form&)> modal_script;
  std::exception_ptr deferred;
  bool catching = false;
  int dropped = 0;
};

namespace {

float twips_per_pixel(bool horizontal) {
  return 1440.0f / static_cast<float>(screen_dpi(horizontal));
}

const wchar_t* parking_class() {
  static const wchar_t* const name = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"QsParkingWindow";
    register_window_class(wc);
    return L"QsParkingWindow";
  }();
  return name;
}

}  // namespace

HINSTANCE module_instance() {
  static const HINSTANCE instance = [] {
    HMODULE m = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&module_instance), &m);
    return static_cast<HINSTANCE>(m);
  }();
  return instance;
}

namespace {
std::vector<std::wstring>& registered_classes() {
  static std::vector<std::wstring> names;
  return names;
}
}  // namespace

void register_window_class(WNDCLASSEXW& wc) {
  wc.hInstance = module_instance();
  // A DLL unloaded without unregistering may have left this class behind,
  // pointing at code that is gone.
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
  RegisterClassExW(&wc);
  registered_classes().emplace_back(wc.lpszClassName);
}

void unregister_window_classes() {
  for (const std::wstring& name : registered_classes()) UnregisterClassW(name.c_str(), module_instance());
  registered_classes().clear();
}

float twips_per_pixel_x() {
  static const float value = twips_per_pixel(true);
  return value;
}

float twips_per_pixel_y() {
  static const float value = twips_per_pixel(false);
  return value;
}

Win32Platform& Win32Platform::current() {
  thread_local Win32Platform platform;
  return platform;
}

Win32Platform::Win32Platform() : state_(std::make_unique<State>()) {}

Win32Platform::~Win32Platform() {
  if (state_->parking != nullptr) DestroyWindow(state_->parking);
}

std::unique_ptr<Surface> Win32Platform::create_surface() { return make_surface(*this); }

std::unique_ptr<Form> Win32Platform::create_form(const std::u16string& name) {
  return make_form(*this, name);
}

Driver& Win32Platform::driver() {
  if (!state_->driver) state_->driver = std::make_unique<Win32Driver>(*this);
  return *state_->driver;
}

HWND Win32Platform::parking_window() {
  if (state_->parking == nullptr) {
    state_->parking = CreateWindowExW(WS_EX_TOOLWINDOW, parking_class(), L"", WS_POPUP | WS_CLIPCHILDREN,
                                      0, 0, 1024, 768, nullptr, nullptr, module_instance(), nullptr);
  }
  return state_->parking;
}

bool Win32Platform::driver_in_use() const { return state_->driver != nullptr; }

const std::function<void(Form&)>& Win32Platform::modal_script() const { return state_->modal_script; }

void Win32Platform::set_modal_script(std::function<void(Form&)> script) {
  state_->modal_script = std::move(script);
}

void Win32Platform::defer_exception(std::exception_ptr error) {
  if (!state_->catching) {
    ++state_->dropped;
    return;
  }
  if (!state_->deferred) state_->deferred = std::move(error);
}

int Win32Platform::dropped_errors() const { return state_->dropped; }

Win32Platform::ErrorCatch::ErrorCatch(Win32Platform& platform)
    : platform_(platform),
      outer_(std::exchange(platform.state_->deferred, nullptr)),
      outer_open_(std::exchange(platform.state_->catching, true)) {}

Win32Platform::ErrorCatch::~ErrorCatch() {
  platform_.state_->deferred = std::move(outer_);
  platform_.state_->catching = outer_open_;
}

void Win32Platform::ErrorCatch::rethrow() {
  if (std::exception_ptr error = std::exchange(platform_.state_->deferred, nullptr))
    std::rethrow_exception(error);
}

}  // namespace qs::win32
