#include "controls/quorral/win_crypt.h"

#include <cstdint>

#include "core/runtime_error.h"
#include "platform/platform.h"

namespace qs {

std::string win_crypt_bytes(std::string_view text, std::string_view key) {
  // The inner loop over the key XORs every character with the same value,
  // so it is formed once. Each term is at most 255 + the key's length.
  uint64_t k = 0;
  for (size_t j = 0; j < key.size(); ++j) {
    k ^= static_cast<uint64_t>(static_cast<unsigned char>(key[j])) + (j + 1);
  }
  if (text.empty()) return {};
  // A code c (0..255) XOR k exceeds 255 exactly when k does: then no
  // character of the result can be formed.
  if (k > 0xFF) throw RuntimeError(kErrInvalidCall);
  std::string out(text);
  const auto x = static_cast<unsigned char>(k);
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) ^ x);
  return out;
}

std::u16string win_crypt(const Platform& platform, std::u16string_view text,
                         std::u16string_view key) {
  return platform.from_ansi(win_crypt_bytes(platform.to_ansi(text), platform.to_ansi(key)));
}

}  // namespace qs
