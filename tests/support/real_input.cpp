#include "tests/support/real_input.h"

#include <algorithm>

namespace qs::test {

bool pump_until(const std::function<bool()>& done, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (!done()) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::min<ULONGLONG>(end - now, 50)),
                              QS_ALLINPUT);
  }
  return true;
}

bool start_unix(const std::wstring& command) {
  std::wstring line = command;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

bool xdotool(const std::wstring& arguments) {
  return start_unix(L"Z:\\usr\\bin\\xdotool " + arguments);
}

bool move_pointer(POINT screen) {
  if (!xdotool(L"mousemove --sync " + std::to_wstring(screen.x) + L" " + std::to_wstring(screen.y)))
    return false;
  return pump_until([&] {
    POINT at{};
    GetCursorPos(&at);
    return at.x == screen.x && at.y == screen.y;
  });
}

PointerKeeper::PointerKeeper() { GetCursorPos(&at_); }

PointerKeeper::~PointerKeeper() {
  SetCursorPos(at_.x, at_.y);
  pump_until([&] {
    POINT p{};
    GetCursorPos(&p);
    return p.x == at_.x && p.y == at_.y;
  }, 1000);
}

}  // namespace qs::test
