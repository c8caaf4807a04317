#include "core/property_bag.h"

namespace qs {

bool equals_default(const Variant& value, const Variant& def) {
  if (value.is_number() && def.is_number()) return value.number_value() == def.number_value();
  if (value.is_string() && def.is_string()) return value.string_value() == def.string_value();
  if (value.is_empty() || def.is_empty()) return value.is_empty() && def.is_empty();
  if (value.is_object() && def.is_object()) {
    FontRef vf = value.to_font(), df = def.to_font();
    if (vf || df) return vf && df && vf->desc() == df->desc();
    PictureRef vp = value.to_picture(), dp = def.to_picture();
    if (!vp || !dp) return !vp && !dp;
    return *vp == *dp;
  }
  return false;
}

Variant PropertyBag::read(std::u16string_view key, const Variant& def) {
  if (std::optional<Variant> v = load(key)) return *v;
  return def;
}

void PropertyBag::write(std::u16string_view key, const Variant& value, const Variant& def) {
  if (equals_default(value, def)) {
    erase(key);
    return;
  }
  store(key, value);
}

bool MemoryPropertyBag::contains(std::u16string_view key) const {
  for (const Entry& e : entries_)
    if (e.first == key) return true;
  return false;
}

Variant MemoryPropertyBag::get(std::u16string_view key) const {
  for (const Entry& e : entries_)
    if (e.first == key) return e.second;
  return Variant();
}

void MemoryPropertyBag::put(std::u16string_view key, Variant value) { store(key, value); }

std::optional<Variant> MemoryPropertyBag::load(std::u16string_view key) {
  for (const Entry& e : entries_)
    if (e.first == key) return e.second;
  return std::nullopt;
}

void MemoryPropertyBag::store(std::u16string_view key, const Variant& value) {
  for (Entry& e : entries_) {
    if (e.first == key) {
      e.second = value;
      return;
    }
  }
  entries_.emplace_back(std::u16string(key), value);
}

void MemoryPropertyBag::erase(std::u16string_view key) {
  std::erase_if(entries_, [&](const Entry& e) { return e.first == key; });
}

}  // namespace qs
