// The tray control's text cipher, on the platform's code page.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "controls/quorral/win_crypt.h"
#include "core/runtime_error.h"
#include "tests/support/rig.h"

namespace qs {
namespace {

// The cipher as written out: for every character, XOR with each key code
// plus its position, in turn; a code outside 0..255 cannot be formed.
bool reference(const std::string& text, const std::string& key, std::string& out) {
  out.clear();
  for (unsigned char ch : text) {
    long c = ch;
    for (size_t j = 1; j <= key.size(); ++j) {
      c ^= static_cast<long>(static_cast<unsigned char>(key[j - 1])) + static_cast<long>(j);
    }
    if (c < 0 || c > 255) return false;
    out.push_back(static_cast<char>(c));
  }
  return true;
}

TEST(WinCrypt, Examples) {
  auto rig = test::make_rig();
  const Platform& p = rig->platform();
  struct Row {
    std::u16string text, key, expected;
  };
  const Row rows[] = {
      {u"Hello", u"", u"Hello"},                 // an empty key leaves the text
      {u"", u"key", u""},                        // an empty text gives ""
      {u"", std::u16string(300, u'z'), u""},     // also with a key that could not form codes
      {u"A", u"\x01", u"C"},                     // 0x41 ^ (1 + 1)
      {u"abc", u"ab", u"gde"},                   // k = (0x61+1) ^ (0x62+2) = 0x62 ^ 0x64 = 0x06
      {u"\u00e9", u"\x01", u"\u00eb"},           // a code above 127 stays in the code page
  };
  for (const Row& row : rows) {
    EXPECT_EQ(win_crypt(p, row.text, row.key), row.expected);
  }
}

TEST(WinCrypt, CipheringTwiceGivesTheTextBack) {
  auto rig = test::make_rig();
  const Platform& p = rig->platform();
  const std::u16string text = u"Meet me at the tray icon, 12:00 \u00e0 midi";
  // Every key here forms codes within 0..255 (the last one's terms cancel),
  // so each must cipher without error.
  for (const std::u16string& key : {std::u16string(u"k"), std::u16string(u"secret"),
                                    std::u16string(u"\u00ff\u00fe")}) {
    std::u16string once;
    ASSERT_NO_THROW(once = win_crypt(p, text, key));
    EXPECT_EQ(win_crypt(p, once, key), text);
  }
}

TEST(WinCrypt, AKeyThatFormsCodesAbove255FailsWithFiveAndNoResult) {
  auto rig = test::make_rig();
  // 0xFF + 1 = 256: every character's code goes above 255.
  try {
    win_crypt(rig->platform(), u"abc", u"\u00ff");
    ADD_FAILURE() << "expected error 5";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 5);
  }
  // Terms above 255 that cancel each other form codes again:
  // (0xFF + 1) ^ (0xFE + 2) = 0x100 ^ 0x100 = 0.
  EXPECT_EQ(win_crypt(rig->platform(), u"abc", u"\u00ff\u00fe"), u"abc");
}

TEST(WinCrypt, AgreesWithTheCharacterByCharacterCipher) {
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> byte(0, 255), len(0, 40);
  for (int i = 0; i < 2000; ++i) {
    std::string text, key;
    for (int n = len(gen); n > 0; --n) text.push_back(static_cast<char>(byte(gen)));
    for (int n = len(gen) / 4; n > 0; --n) key.push_back(static_cast<char>(byte(gen)));
    std::string expected;
    bool ok = reference(text, key, expected);
    try {
      std::string got = win_crypt_bytes(text, key);
      EXPECT_TRUE(ok) << "case " << i << " should have failed";
      EXPECT_EQ(got, expected) << "case " << i;
    } catch (const RuntimeError& e) {
      EXPECT_FALSE(ok) << "case " << i << " failed with " << e.number();
      EXPECT_EQ(e.number(), 5);
    }
  }
}

}  // namespace
}  // namespace qs
