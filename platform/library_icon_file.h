// The library's built-in icon as an .ico file: one icon resource with a
// 32 x 32 16-colour and a 32 x 32 256-colour image (drawn by
// tools/make-library-icon.py, which also writes the bytes below).
#pragma once

#include <cstdint>
#include <span>

namespace qs {

std::span<const uint8_t> library_icon_file();

}  // namespace qs
