// qscontainer: hosts the ActiveX controls of a form file in a window.
//
//   qscontainer.exe --form FILE [--design] [--screenshot OUT.bmp]
//                   [--exit-after-ms N] [--save OUT.qsform] [--log LOG.txt] [--quiet]
//   qscontainer.exe --add PROGID [...]   (one fresh control instead of a form)
//   --properties NAME   opens our property frame for control NAME once the
//                       window shows; with --screenshot the frame is captured
//                       instead of the container, then closed
//   --system-properties NAME   the same with the system's property frame
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <commctrl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <cstdio>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <vector>

#include "container/container.h"
#include "container/control_site.h"
#include "container/property_frame.h"
#include "container/window_capture.h"

using namespace qs::container;
using Microsoft::WRL::ComPtr;

namespace {

struct Options {
  std::wstring form, add, screenshot, save, log, properties;
  bool system_frame = false;
  bool design = false;
  bool quiet = false;
  long exit_after_ms = -1;
};

void usage() {
  std::fputs(
      "usage: qscontainer.exe (--form FILE | --add PROGID) [--design] [--screenshot OUT.bmp]\n"
      "                       [--exit-after-ms N] [--save OUT.qsform] [--log LOG.txt] [--quiet]\n"
      "                       [--properties NAME | --system-properties NAME]\n",
      stderr);
}

bool parse(int argc, wchar_t** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    std::wstring a = argv[i];
    auto value = [&](std::wstring* out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    if (a == L"--form") { if (!value(&o->form)) return false; }
    else if (a == L"--add") { if (!value(&o->add)) return false; }
    else if (a == L"--screenshot") { if (!value(&o->screenshot)) return false; }
    else if (a == L"--save") { if (!value(&o->save)) return false; }
    else if (a == L"--log") { if (!value(&o->log)) return false; }
    else if (a == L"--properties") { if (!value(&o->properties)) return false; }
    else if (a == L"--system-properties") {
      if (!value(&o->properties)) return false;
      o->system_frame = true;
    }
    else if (a == L"--design") o->design = true;
    else if (a == L"--quiet") o->quiet = true;
    else if (a == L"--exit-after-ms") {
      std::wstring n;
      if (!value(&n)) return false;
      wchar_t* end = nullptr;
      o->exit_after_ms = std::wcstol(n.c_str(), &end, 10);
      if (*end != L'\0' || o->exit_after_ms < 0) return false;
    } else {
      return false;
    }
  }
  return o->form.empty() != o->add.empty();
}

std::string narrow(const std::wstring& s) {
  int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

void CALLBACK close_on_timer(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  KillTimer(hwnd, id);
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

// The property frame (the thread's visible dialog or our own frame) open on this thread, what to do with it once it shows,
// and the outcome, for the timer that acts on it.
struct FrameVisit {
  std::wstring screenshot;
  Container* container = nullptr;
  bool captured = false;
};
FrameVisit* g_frame_visit = nullptr;

BOOL CALLBACK find_frame(HWND hwnd, LPARAM found) {
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  if (IsWindowVisible(hwnd) &&
      (std::wcscmp(cls, L"#32770") == 0 || std::wcscmp(cls, L"QuorralSetPropertyFrame") == 0)) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Logs the frame's tabs, captures it when asked and closes it.
void CALLBACK visit_frame(HWND, UINT, UINT_PTR id, DWORD) {
  HWND frame = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), find_frame, reinterpret_cast<LPARAM>(&frame));
  if (!frame) return;  // not shown yet: the next tick looks again
  KillTimer(nullptr, id);
  FrameVisit& v = *g_frame_visit;
  wchar_t title[256] = {};
  GetWindowTextW(frame, title, 256);
  v.container->log(L"property frame: " + std::wstring(title));
  if (HWND tabs = FindWindowExW(frame, nullptr, L"SysTabControl32", nullptr)) {
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[128] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = 128;
      SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      v.container->log(L"property frame tab: " + std::wstring(text));
    }
  }
  if (!v.screenshot.empty()) {
    Pixels pixels;
    v.captured = capture_window(frame, &pixels, /*whole_window=*/true) && write_bmp(v.screenshot, pixels);
    if (v.captured) v.container->log(L"screenshot " + v.screenshot);
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
}

// The property pages a control names (empty when it names none).
std::vector<CLSID> pages_of(ControlSite& site) {
  ComPtr<ISpecifyPropertyPages> specify;
  if (FAILED(site.object()->QueryInterface(IID_ISpecifyPropertyPages,
                                           reinterpret_cast<void**>(specify.GetAddressOf()))))
    return {};
  CAUUID pages{};
  if (FAILED(specify->GetPages(&pages))) return {};
  std::vector<CLSID> out(pages.pElems, pages.pElems + pages.cElems);
  CoTaskMemFree(pages.pElems);
  return out;
}

// Opens a property frame for a control modally (ours, or the system's);
// with a screenshot path the frame is captured once it shows and closed.
void open_properties(Container& container, const std::wstring& name, bool system_frame,
                     const std::wstring& screenshot) {
  ControlSite* site = container.find(name);
  if (!site) throw std::runtime_error("no control named " + narrow(name));
  std::vector<CLSID> pages = pages_of(*site);
  container.log(L"property pages: " + std::to_wstring(pages.size()));
  if (pages.empty()) throw std::runtime_error("the control names no property pages");
  FrameVisit visit{screenshot, &container};
  g_frame_visit = &visit;
  HRESULT hr = S_OK;
  if (system_frame) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, &visit_frame);
    IUnknown* objects[] = {site->object()};
    hr = OleCreatePropertyFrame(container.window(), 20, 20, name.c_str(), 1, objects,
                                ULONG(pages.size()), pages.data(), LOCALE_USER_DEFAULT, 0, nullptr);
    KillTimer(nullptr, timer);
  } else {
    PropertyFrame frame(container.window(), name, {site->object()}, pages,
                        [&](const std::wstring& line) { container.log(line); });
    const int result = frame.run([&](HWND) {
      if (!screenshot.empty()) SetTimer(nullptr, 0, 300, &visit_frame);
    });
    container.log(result == IDOK ? L"property frame: OK" : L"property frame: Cancel");
  }
  g_frame_visit = nullptr;
  wchar_t code[16];
  std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  container.log(L"property frame closed: " + std::wstring(code));
  if (FAILED(hr)) throw std::runtime_error("the property frame failed");
  if (!screenshot.empty() && !visit.captured) throw std::runtime_error("cannot capture the property frame");
}

void save(Container& container, const std::wstring& path) {
  write_form_file(path, container.save_form());
  container.log(L"saved " + path);
}

int run(const Options& o) {
  Container container;
  container.set_log_to_stdout(!o.quiet);
  if (!o.log.empty() && !container.set_log_file(o.log))
    throw std::runtime_error("cannot open the log file " + narrow(o.log));
  container.set_design_mode(o.design);
  if (!o.form.empty()) container.load_form(read_form_file(o.form));
  else container.add_control(o.add, L"Control1", RECT{10, 10, 410, 250});
  container.show();

  if (!o.properties.empty()) {
    container.pump_messages(300);
    open_properties(container, o.properties, o.system_frame, o.screenshot);
    if (!o.screenshot.empty()) {
      if (!o.save.empty()) save(container, o.save);
      container.close_controls();
      return 0;
    }
  }

  if (!o.screenshot.empty()) {
    // Let the window map and every child paint before copying the screen.
    container.pump_messages(300);
    Pixels pixels;
    if (!capture_window(container.window(), &pixels))
      throw std::runtime_error("cannot capture the window");
    if (!write_bmp(o.screenshot, pixels)) throw std::runtime_error("cannot write " + narrow(o.screenshot));
    container.log(L"screenshot " + o.screenshot);
    if (!o.save.empty()) save(container, o.save);
    container.close_controls();
    return 0;
  }

  if (!o.save.empty()) container.set_on_close([&] { save(container, o.save); });
  if (o.exit_after_ms >= 0) {
    HWND window = container.window();
    SetTimer(window, 1, static_cast<UINT>(o.exit_after_ms), &close_on_timer);
  }
  return container.run();
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  Options options;
  bool ok = argv && parse(argc, argv, &options);
  LocalFree(argv);
  if (!ok) {
    usage();
    return 2;
  }
  if (FAILED(OleInitialize(nullptr))) {
    std::fputs("qscontainer: OleInitialize failed\n", stderr);
    return 1;
  }
  int code = 1;
  try {
    code = run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qscontainer: %s\n", e.what());
  }
  OleUninitialize();
  return code;
}
