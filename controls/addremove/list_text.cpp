#include "controls/addremove/list_text.h"

#include <cmath>

namespace qs {

std::u16string list_text_of(const Variant& value) {
  if (value.is_string()) return value.string_value();
  return value.to_text();
}

std::vector<std::u16string> split_list_text(std::u16string_view text) {
  std::vector<std::u16string> entries;
  for_each_list_entry(text, [&](std::u16string_view e) { entries.emplace_back(e); });
  return entries;
}

std::optional<int32_t> item_data_of(std::u16string_view entry) {
  double value = 0;
  if (!parse_number(entry, value)) return std::nullopt;
  // The default rounding mode rounds halves to the even neighbour, as the
  // runtime's integer conversion does.
  double rounded = std::nearbyint(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return std::nullopt;
  return static_cast<int32_t>(rounded);
}

void ListTextWriter::separate() {
  if (!first_) text_.append(kListSeparator);
  first_ = false;
}

void ListTextWriter::add(std::u16string_view entry) {
  separate();
  text_.append(entry);
}

void ListTextWriter::add(int32_t data) {
  separate();
  char16_t digits[12];
  char16_t* end = digits + 12;
  char16_t* p = end;
  int64_t magnitude = data < 0 ? -int64_t{data} : int64_t{data};
  do {
    *--p = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (data < 0) *--p = u'-';
  text_.append(p, static_cast<size_t>(end - p));
}

}  // namespace qs
