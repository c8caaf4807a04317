// qscontainer: hosts the ActiveX controls of a form file in a window.
//
//   qscontainer.exe --form FILE [--design] [--screenshot OUT.bmp]
//                   [--exit-after-ms N] [--save OUT.qsform] [--log LOG.txt] [--quiet]
//   qscontainer.exe --add PROGID [...]   (one fresh control instead of a form)
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <stdexcept>
#include <string>

#include "container/container.h"
#include "container/window_capture.h"

using namespace qs::container;

namespace {

struct Options {
  std::wstring form, add, screenshot, save, log;
  bool design = false;
  bool quiet = false;
  long exit_after_ms = -1;
};

void usage() {
  std::fputs(
      "usage: qscontainer.exe (--form FILE | --add PROGID) [--design] [--screenshot OUT.bmp]\n"
      "                       [--exit-after-ms N] [--save OUT.qsform] [--log LOG.txt] [--quiet]\n",
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
