// Real X input for tests under Wine: the host's xdotool started from inside
// Wine moves the pointer and presses its buttons, so events travel the whole
// road from the X server through Wine's driver to the windows under test.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace qs::test {

// Takes messages until done() or the deadline (milliseconds).
bool pump_until(const std::function<bool()>& done, DWORD ms = 5000);

// Starts a program of the host system. Wine runs such a program natively
// and its process handle never signals, so callers wait for its effect (the
// pointer's position, the events) while taking messages.
bool start_unix(const std::wstring& command);

// Runs xdotool with `arguments` (for example L"click 1").
bool xdotool(const std::wstring& arguments);

// Moves the real pointer to a screen point and waits, taking messages,
// until the system reports it there. False when it did not get there.
bool move_pointer(POINT screen);

// Puts the real pointer back where it was: later tests share the display.
class PointerKeeper {
 public:
  PointerKeeper();
  ~PointerKeeper();
  PointerKeeper(const PointerKeeper&) = delete;
  PointerKeeper& operator=(const PointerKeeper&) = delete;

 private:
  POINT at_{};
};

}  // namespace qs::test
