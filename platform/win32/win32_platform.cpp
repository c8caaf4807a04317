#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_gdi.h"

#include <string>
#include <vector>

#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>
#include <utility>

#include "core/runtime_error.h"

#include "platform/win32/win32_driver.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_message_window.h"
#include "platform/library_icon_file.h"
#include "platform/tray_field.h"
#include "platform/win32/win32_picture.h"
#include "platform/win32/win32_regions.h"
#include "platform/win32/win32_surface.h"
#include "platform/win32/win32_text.h"

namespace qs::win32 {

struct Win32Platform::State {
  Win32Regions regions;
  HWND parking = nullptr;
  std::unique_ptr<Win32Driver> driver;
  std::function<void(Form&)> modal_script;
  std::function<bool(OpenFileRecord&)> open_file_script;
  std::function<int32_t(const std::u16string&, const std::u16string&, uint32_t)> message_box_script;
  std::exception_ptr deferred;
  std::vector<Driver::TrayRequest> tray_requests;
  std::vector<TrayEntry> tray_icons;
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

float Win32Platform::screen_width() const {
  return static_cast<float>(GetSystemMetrics(SM_CXSCREEN)) * twips_per_pixel_x();
}

float Win32Platform::screen_height() const {
  return static_cast<float>(GetSystemMetrics(SM_CYSCREEN)) * twips_per_pixel_y();
}

int32_t Win32Platform::message_box(const std::u16string& text, const std::u16string& caption,
                                   uint32_t style) {
  if (state_->message_box_script) {
    auto script = state_->message_box_script;
    return script(text, caption, style);
  }
  return MessageBoxW(nullptr, wide(text), wide(caption), style);
}

void Win32Platform::set_message_box_script(
    std::function<int32_t(const std::u16string&, const std::u16string&, uint32_t)> script) {
  state_->message_box_script = std::move(script);
}

bool Win32Platform::set_window_pos(intptr_t window, intptr_t insert_after, uint32_t flags) {
  return SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insert_after), 0, 0, 0,
                      0, flags) != FALSE;
}

int32_t Win32Platform::snd_play_sound(const std::string& ansi_name, uint32_t flags) {
  return sndPlaySoundA(ansi_name.c_str(), flags);
}

std::unique_ptr<MessageWindow> Win32Platform::create_message_window() {
  return make_message_window(*this);
}

namespace {

// A 32-bit handle as the build's handle: handles are sign-extended.
template <class H>
H widen(uint32_t v) {
  return reinterpret_cast<H>(static_cast<intptr_t>(static_cast<int32_t>(v)));
}

}  // namespace

// On a 32-bit build the record is the system's own first-version structure.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == kTrayRecordSize);

bool Win32Platform::shell_notify_icon(uint32_t message, const TrayRecord& record) {
  bool accepted = false;
  const HWND window = widen<HWND>(get_tray_field(record, kTrayWindow));
  const UINT id = get_tray_field(record, kTrayId);
  if (get_tray_field(record, kTraySize) == kTrayRecordSize) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = get_tray_field(record, kTrayFlags);
    data.uCallbackMessage = get_tray_field(record, kTrayCallback);
    data.hIcon = widen<HICON>(get_tray_field(record, kTrayIcon));
    static_assert(sizeof data.szTip >= 64);
    std::memcpy(data.szTip, record.data() + kTrayTip, 64);
    accepted = Shell_NotifyIconA(message, &data) != FALSE;
  }
  state_->tray_requests.push_back({message, record, accepted});
  auto& icons = state_->tray_icons;
  auto same = [&](const TrayEntry& e) { return e.window == window && e.id == id; };
  if (accepted && message == NIM_ADD) {
    icons.push_back({window, id, UINT(get_tray_field(record, kTrayCallback))});
  } else if (accepted && message == NIM_DELETE) {
    std::erase_if(icons, same);
  }
  return accepted;
}

std::vector<Driver::TrayRequest>& Win32Platform::tray_requests() { return state_->tray_requests; }

std::vector<Win32Platform::TrayEntry>& Win32Platform::tray_icons() { return state_->tray_icons; }

ScreenPoint Win32Platform::cursor_pos() {
  POINT p{};
  GetCursorPos(&p);
  return {int32_t(p.x), int32_t(p.y)};
}

float Win32Platform::twips_per_pixel_x() const { return win32::twips_per_pixel_x(); }

PictureRef Win32Platform::library_icon() {
  static const HICON icon = static_cast<HICON>(
      LoadImageW(module_instance(), MAKEINTRESOURCEW(kLibraryIconResource), IMAGE_ICON, 32, 32,
                 LR_SHARED));
  auto picture = std::make_shared<Picture>();
  if (icon == nullptr) return picture;
  picture->type = PictureType::kIcon;
  picture->handle = reinterpret_cast<intptr_t>(icon);
  picture->pixel_width = 32;
  picture->pixel_height = 32;
  picture->width = himetric_from_pixels(32);
  picture->height = himetric_from_pixels(32);
  // A store saves the icon file the resource was made from.
  const std::span<const uint8_t> file = library_icon_file();
  picture->data.assign(file.begin(), file.end());
  return picture;
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
