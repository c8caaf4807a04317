// The tray control's text cipher: every character XOR-ed with one value
// formed from the key, so ciphering twice with the same key gives the text
// back.
#pragma once

#include <string>
#include <string_view>

namespace qs {

class Platform;

// Ciphers `text` with `key`, both taken as characters of the ANSI code page
// (the platform converts). Each character code c becomes c XOR k, where k is
// the XOR over the key's positions j (from 1) of (key code + j). When that
// gives a code above 255 the character cannot be formed and the call fails
// with error 5, returning nothing. Linear in the lengths of text and key.
std::u16string win_crypt(const Platform& platform, std::u16string_view text,
                         std::u16string_view key);

// The same on ANSI bytes: the cipher's core, without the code page.
// Fails with error 5 where a code would exceed 255.
std::string win_crypt_bytes(std::string_view text, std::string_view key);

}  // namespace qs
