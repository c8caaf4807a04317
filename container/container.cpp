#include "container/container.h"

#include <algorithm>
#include <stdexcept>

#include "container/control_site.h"

namespace qs::container {

namespace {

const wchar_t kWindowClass[] = L"QuorralSetContainer";

int screen_dpi(bool horizontal) {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, horizontal ? LOGPIXELSX : LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

void register_class() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&wc)) throw std::runtime_error("cannot register the container window class");
  registered = true;
}

}  // namespace

LONG pixels_to_himetric(LONG pixels, bool horizontal) {
  return MulDiv(pixels, 2540, screen_dpi(horizontal));
}

LONG himetric_to_pixels(LONG himetric, bool horizontal) {
  return MulDiv(himetric, screen_dpi(horizontal), 2540);
}

Container::Container(HWND parent) {
  register_class();
  DWORD style = parent ? WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS : WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  window_ = CreateWindowExW(0, kWindowClass, caption_.c_str(), style, 0, 0, 640, 480, parent, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) throw std::runtime_error("cannot create the container window");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Container::window_proc));
}

Container::~Container() {
  close_controls();
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (log_file_) std::fclose(log_file_);
}

ControlSite& Container::add_control(const std::wstring& prog_id, const std::wstring& name, RECT rect) {
  if (find(name)) throw std::runtime_error("a control with this name already exists");
  auto* site = new ControlSite(this, prog_id, name, rect);
  try {
    site->create(nullptr);
  } catch (...) {
    site->close();
    site->Release();
    throw;
  }
  controls_.push_back(site);
  return *site;
}

void Container::load_form(const Form& form) {
  caption_ = form.caption;
  SetWindowTextW(window_, caption_.c_str());
  client_size_ = {form.width, form.height};
  for (const FormControl& fc : form.controls) {
    if (find(fc.name)) throw std::runtime_error("duplicate control name in form");
    RECT rect{fc.left, fc.top, fc.left + fc.width, fc.top + fc.height};
    auto* site = new ControlSite(this, fc.prog_id, fc.name, rect);
    try {
      site->create(&fc.properties);
    } catch (...) {
      site->close();
      site->Release();
      throw;
    }
    controls_.push_back(site);
  }
}

Form Container::save_form() {
  Form form;
  form.caption = caption_;
  form.width = static_cast<int>(client_size_.cx);
  form.height = static_cast<int>(client_size_.cy);
  for (ControlSite* site : controls_) {
    FormControl fc;
    fc.prog_id = site->prog_id();
    fc.name = site->name();
    const RECT& r = site->rect();
    fc.left = r.left;
    fc.top = r.top;
    fc.width = r.right - r.left;
    fc.height = r.bottom - r.top;
    HRESULT hr = site->save(fc.properties, save_as_stream_);
    if (FAILED(hr)) {
      wchar_t code[16];
      swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
      log(L"error " + site->name() + L" save failed " + code);
    }
    form.controls.push_back(std::move(fc));
  }
  return form;
}

void Container::close_controls() {
  active_object_.Reset();
  std::vector<ControlSite*> sites;
  sites.swap(controls_);
  for (ControlSite* site : sites) {
    site->close();
    site->Release();
  }
}

ControlSite* Container::find(const std::wstring& name) {
  for (ControlSite* site : controls_)
    if (site->name() == name) return site;
  return nullptr;
}

void Container::move_control(const std::wstring& name, RECT rect) {
  ControlSite* site = find(name);
  if (!site) throw std::runtime_error("no such control");
  site->move(rect);
}

void Container::set_design_mode(bool design) {
  if (design == design_mode_) return;
  design_mode_ = design;
  for (ControlSite* site : controls_) site->ambient_changed(DISPID_AMBIENT_USERMODE);
}

void Container::set_ambient_font(const FontDesc& font) {
  ambient_font_ = font;
  for (ControlSite* site : controls_) site->ambient_changed(DISPID_AMBIENT_FONT);
}

void Container::show() {
  SIZE size = client_size_;
  if (size.cx <= 0 || size.cy <= 0) {
    // Fit the controls with the same margin on the right and bottom as they
    // have on the left and top.
    LONG right = 0, bottom = 0, left = 0, top = 0;
    bool first = true;
    for (ControlSite* site : controls_) {
      const RECT& r = site->rect();
      if (first || r.left < left) left = r.left;
      if (first || r.top < top) top = r.top;
      right = std::max(right, r.right);
      bottom = std::max(bottom, r.bottom);
      first = false;
    }
    if (size.cx <= 0) size.cx = std::max<LONG>(right + std::max<LONG>(left, 0), 200);
    if (size.cy <= 0) size.cy = std::max<LONG>(bottom + std::max<LONG>(top, 0), 100);
  }
  RECT frame{0, 0, size.cx, size.cy};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE, 0);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void Container::pump_messages(DWORD idle_ms) {
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (idle_ms == 0) return;
    DWORD start = GetTickCount();
    DWORD r = MsgWaitForMultipleObjects(0, nullptr, FALSE, idle_ms, QS_ALLINPUT);
    if (r != WAIT_OBJECT_0) return;
    DWORD spent = GetTickCount() - start;
    idle_ms = spent >= idle_ms ? 0 : idle_ms - spent;
  }
}

int Container::run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (active_object_ && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST &&
        active_object_->TranslateAccelerator(&msg) == S_OK)
      continue;
    if (IsDialogMessageW(window_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void Container::log(const std::wstring& line) {
  log_lines_.push_back(line);
  if (!log_stdout_ && !log_file_) return;
  int n = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), n, nullptr, nullptr);
  utf8 += '\n';
  if (log_stdout_) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
  }
  if (log_file_) {
    std::fwrite(utf8.data(), 1, utf8.size(), log_file_);
    std::fflush(log_file_);
  }
}

bool Container::set_log_file(const std::wstring& path) {
  if (log_file_) std::fclose(log_file_);
  log_file_ = _wfopen(path.c_str(), L"ab");
  return log_file_ != nullptr;
}

void Container::set_active_object(IOleInPlaceActiveObject* object) {
  active_object_ = object;
}

LRESULT CALLBACK Container::window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<Container*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    switch (msg) {
      case WM_CLOSE:
        // Controls save and go before their windows are destroyed with ours.
        if (self->on_close_) self->on_close_();
        self->close_controls();
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        DestroyWindow(hwnd);
        PostQuitMessage(0);
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace qs::container
