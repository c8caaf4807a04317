// Keys on the in-memory keyboard.
#pragma once

#include <cstdint>

namespace qs {

// The character a key types, as the keyboard's unshifted layout gives it; 0 for none.
inline int16_t headless_key_char(int16_t key_code) {
  if ((key_code >= '0' && key_code <= '9') || (key_code >= 'A' && key_code <= 'Z') ||
      key_code == ' ' || key_code == 8 || key_code == 13 || key_code == 27) {
    return key_code;
  }
  return 0;
}

}  // namespace qs
