// List text: a whole list held as one string, one entry per item, entries
// separated by CR LF. Items are written as their text, item data as decimal
// integers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/variant.h"

namespace qs {

// The separator between two entries.
inline constexpr std::u16string_view kListSeparator = u"\r\n";

// The text a stored list value stands for: numbers in their decimal form,
// empty as the empty text. Fails as the value's text conversion fails.
std::u16string list_text_of(const Variant& value);

// Calls visit(entry) for every entry of a list text, in order. The text is
// cut at each CR LF pair; the empty text has no entries, a trailing CR LF
// gives a last empty entry, a lone CR or LF stays inside its entry.
template <class Visit>
void for_each_list_entry(std::u16string_view text, Visit&& visit) {
  if (text.empty()) return;
  size_t start = 0;
  for (;;) {
    size_t cut = text.find(kListSeparator, start);
    if (cut == std::u16string_view::npos) {
      visit(text.substr(start));
      return;
    }
    visit(text.substr(start, cut - start));
    start = cut + kListSeparator.size();
  }
}

// The entries of a list text, in order.
std::vector<std::u16string> split_list_text(std::u16string_view text);

// The item data an entry stands for: a number rounded to the nearest 32-bit
// integer (halves to even), or nothing when the entry is not a number or the
// result lies outside the 32-bit range.
std::optional<int32_t> item_data_of(std::u16string_view entry);

// Builds a list text entry by entry.
class ListTextWriter {
 public:
  // Appends an entry holding this text.
  void add(std::u16string_view entry);
  // Appends an entry holding this item data in decimal.
  void add(int32_t data);
  // The text built so far.
  std::u16string& text() { return text_; }

 private:
  void separate();

  std::u16string text_;
  bool first_ = true;
};

}  // namespace qs
