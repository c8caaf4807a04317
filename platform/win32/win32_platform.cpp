#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_gdi.h"

#include <string>
#include <vector>

#include <commdlg.h>

#include <cstddef>
#include <cstring>
#include <utility>

#include "core/runtime_error.h"

#include "platform/win32/win32_driver.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_regions.h"
#include "platform/win32/win32_picture.h"
#include "platform/win32/win32_surface.h"

namespace qs::win32 {

struct Win32Platform::State {
  Win32Regions regions;
  HWND parking = nullptr;
  std::unique_ptr<Win32Driver> driver;
  std::function<void(Form&)> modal_script;
  std::function<bool(OpenFileRecord&)> open_file_script;
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

uintptr_t Win32Platform::module_handle() const {
  return reinterpret_cast<uintptr_t>(module_instance());
}

std::string Win32Platform::to_ansi(std::u16string_view text) const {
  if (text.empty()) return {};
  const auto* w = reinterpret_cast<const wchar_t*>(text.data());
  const int n = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, w, n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, w, n, out.data(), size, nullptr, nullptr);
  return out;
}

std::u16string Win32Platform::from_ansi(std::string_view text) const {
  if (text.empty()) return {};
  const int n = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), n, nullptr, 0);
  std::u16string out(static_cast<size_t>(size), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), n, reinterpret_cast<wchar_t*>(out.data()), size);
  return out;
}

PictureRef Win32Platform::load_picture(const std::u16string& path) {
  if (path.empty()) return empty_ole_picture();
  HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw RuntimeError(kErrFileNotFound);
  LARGE_INTEGER size{};
  std::vector<uint8_t> data;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF;
  if (ok) {
    data.resize(size_t(size.QuadPart));
    DWORD read = 0;
    ok = ReadFile(file, data.data(), DWORD(data.size()), &read, nullptr) && read == data.size();
  }
  CloseHandle(file);
  if (!ok) throw RuntimeError(kErrFileNotFound);
  // An empty file is no picture (only an empty path gives the empty picture).
  if (data.empty()) throw RuntimeError(kErrInvalidPicture);
  return load_ole_picture(data);
}

PictureRef Win32Platform::picture_from_data(std::span<const uint8_t> data) {
  return load_ole_picture(data);
}

// The record is the system's OPENFILENAMEA up to and including lpTemplateName.
static_assert(offsetof(OpenFileRecord, hwndOwner) == offsetof(OPENFILENAMEA, hwndOwner));
static_assert(offsetof(OpenFileRecord, lpstrFilter) == offsetof(OPENFILENAMEA, lpstrFilter));
static_assert(offsetof(OpenFileRecord, nFilterIndex) == offsetof(OPENFILENAMEA, nFilterIndex));
static_assert(offsetof(OpenFileRecord, lpstrFile) == offsetof(OPENFILENAMEA, lpstrFile));
static_assert(offsetof(OpenFileRecord, nMaxFileTitle) == offsetof(OPENFILENAMEA, nMaxFileTitle));
static_assert(offsetof(OpenFileRecord, Flags) == offsetof(OPENFILENAMEA, Flags));
static_assert(offsetof(OpenFileRecord, nFileExtension) == offsetof(OPENFILENAMEA, nFileExtension));
static_assert(offsetof(OpenFileRecord, lpTemplateName) == offsetof(OPENFILENAMEA, lpTemplateName));
static_assert(sizeof(OpenFileRecord) == offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR));

Regions& Win32Platform::regions() { return state_->regions; }

Win32Regions& Win32Platform::win32_regions() { return state_->regions; }

bool Win32Platform::get_open_file_name(OpenFileRecord& record) {
  if (state_->open_file_script) {
    auto script = state_->open_file_script;
    return script(record);
  }
  // The system may read the fields of later versions: give it a whole,
  // zeroed structure that still announces the record's size.
  OPENFILENAMEA full{};
  std::memcpy(&full, &record, sizeof record);
  const BOOL ok = GetOpenFileNameA(&full);
  std::memcpy(&record, &full, sizeof record);
  return ok != FALSE;
}

void Win32Platform::set_open_file_script(std::function<bool(OpenFileRecord&)> script) {
  state_->open_file_script = std::move(script);
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
