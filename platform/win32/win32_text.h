// The library's UTF-16 text as the platform's wide strings, and back: the
// one conversion every Windows-facing floor uses.
#pragma once

#include <string>

namespace qs::win32 {

// The text as the wide string the W functions take.
inline const wchar_t* wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string from_wide(const wchar_t* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}
inline std::u16string from_wide(const wchar_t* text, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace qs::win32
