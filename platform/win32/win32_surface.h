// The control surface: a child window of its own class, parked under the
// thread's hidden parking window until a host attaches it.
#pragma once

#include "platform/win32/win32_platform.h"

namespace qs::win32 {

std::unique_ptr<Win32Surface> make_surface(Win32Platform& platform);

}  // namespace qs::win32
