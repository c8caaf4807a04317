// Hidden top-level windows of their own (MessageWindow) with their timers,
// and counts of both so a test can prove none is left behind.
#pragma once

#include "platform/win32/win32_platform.h"

namespace qs::win32 {

std::unique_ptr<MessageWindow> make_message_window(Win32Platform& platform);

// Message windows alive and timers running (SetTimer in force) in the process.
int live_message_windows();
int running_timers();

// The message the shell broadcasts when it starts ("TaskbarCreated").
UINT taskbar_created_message();

}  // namespace qs::win32
