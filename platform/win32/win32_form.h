// A top-level form with a modal message loop.
#pragma once

#include "platform/win32/win32_platform.h"

namespace qs::win32 {

std::unique_ptr<Form> make_form(Win32Platform& platform, const std::u16string& name);

}  // namespace qs::win32
