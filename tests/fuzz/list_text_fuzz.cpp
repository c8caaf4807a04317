// The list-text reader on any text: cutting it into entries and joining them
// again gives the text back, and every item-data entry read as a number is
// written and read back as the same number.
#include <cstddef>
#include <cstdint>
#include <string>

#include "controls/addremove/list_text.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qs;
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));

  const std::vector<std::u16string> entries = split_list_text(text);
  size_t visited = 0;
  for_each_list_entry(text, [&](std::u16string_view e) {
    QS_FUZZ_CHECK(visited < entries.size() && e == entries[visited]);
    ++visited;
  });
  QS_FUZZ_CHECK(visited == entries.size());

  ListTextWriter joined;
  for (const std::u16string& e : entries) {
    QS_FUZZ_CHECK(e.find(kListSeparator) == std::u16string::npos);
    joined.add(e);
  }
  // An empty text has no entries; one empty entry also joins to the empty text.
  QS_FUZZ_CHECK(joined.text() == text);
  QS_FUZZ_CHECK(list_text_of(Variant(text)) == text);

  for (const std::u16string& e : entries) {
    std::optional<int32_t> value = item_data_of(e);
    if (!value) continue;
    ListTextWriter w;
    w.add(*value);
    QS_FUZZ_CHECK(item_data_of(w.text()) == value);
  }
  return 0;
}
