// The in-memory text box and typing into it: Enter starts a line only in a
// multi-line box, and a change is reported only when the text differs.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_platform.h"

namespace qs {
namespace {

struct TypingRow {
  const char* what;
  bool multi_line;
  const char16_t* before;
  const char16_t* typed;
  const char16_t* after;
  int changes;
};

const TypingRow kTyping[] = {
    {"characters append at the end", false, u"ab", u"cd", u"abcd", 2},
    {"CR LF is one Enter: a line break", true, u"", u"a\r\nb", u"a\r\nb", 3},
    {"a lone CR or LF is an Enter too", true, u"", u"a\rb\nc", u"a\r\nb\r\nc", 5},
    {"a final Enter leaves an empty last line", true, u"x", u"\r\n", u"x\r\n", 1},
    {"Enter does nothing in a single-line box", false, u"", u"a\r\nb", u"ab", 2},
    {"nothing typed, nothing changed", true, u"keep", u"", u"keep", 0},
};

TEST(HeadlessTextBox, TypingAppendsCharactersAndReportsEachChange) {
  for (const TypingRow& row : kTyping) {
    SCOPED_TRACE(row.what);
    HeadlessPlatform platform;
    HeadlessDriver driver(platform);
    auto surface = platform.create_surface();
    TextBox& box = surface->create_text_box(u"txt", {row.multi_line, ScrollBars::kVertical});
    box.set_text(row.before);
    int changes = 0;
    box.on_change = [&] { ++changes; };
    driver.type_text(box, row.typed);
    EXPECT_EQ(box.text(), row.after);
    EXPECT_EQ(changes, row.changes);
  }
}

TEST(HeadlessTextBox, SettingTheSameTextReportsNoChangeAndInputNeedsAnEnabledBox) {
  HeadlessPlatform platform;
  HeadlessDriver driver(platform);
  auto surface = platform.create_surface();
  TextBox& box = surface->create_text_box(u"txt");
  EXPECT_FALSE(box.style().multi_line);
  EXPECT_EQ(box.style().scroll_bars, ScrollBars::kNone);
  int changes = 0;
  box.on_change = [&] { ++changes; };
  box.set_text(u"");
  EXPECT_EQ(changes, 0);
  box.set_text(u"a");
  box.set_text(u"a");
  EXPECT_EQ(changes, 1);

  box.set_enabled(false);
  driver.type_text(box, u"b");
  surface->set_enabled(false);
  box.set_enabled(true);
  driver.type_text(box, u"c");
  EXPECT_EQ(box.text(), u"a");
  EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace qs
