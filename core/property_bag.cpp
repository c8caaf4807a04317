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

const size_t* MemoryPropertyBag::find(std::u16string_view key) const {
  auto it = index_.find(key);
  return it == index_.end() ? nullptr : &it->second;
}

bool MemoryPropertyBag::contains(std::u16string_view key) const { return find(key) != nullptr; }

Variant MemoryPropertyBag::get(std::u16string_view key) const {
  const size_t* at = find(key);
  return at ? entries_[*at].second : Variant();
}

void MemoryPropertyBag::put(std::u16string_view key, Variant value) {
  if (const size_t* at = find(key)) {
    entries_[*at].second = std::move(value);
    return;
  }
  append(std::u16string(key), std::move(value));
}

void MemoryPropertyBag::emplace(std::u16string key, Variant value) {
  if (const size_t* at = find(key)) {
    entries_[*at].second = std::move(value);
    return;
  }
  append(std::move(key), std::move(value));
}

void MemoryPropertyBag::clear() {
  entries_.clear();
  index_.clear();
}

std::optional<Variant> MemoryPropertyBag::load(std::u16string_view key) {
  const size_t* at = find(key);
  if (!at) return std::nullopt;
  return entries_[*at].second;
}

void MemoryPropertyBag::store(std::u16string_view key, const Variant& value) { put(key, value); }

void MemoryPropertyBag::append(std::u16string key, Variant value) {
  // The index first: if the entry cannot be added the two stay in step.
  auto it = index_.emplace(key, entries_.size()).first;
  try {
    entries_.emplace_back(std::move(key), std::move(value));
  } catch (...) {
    index_.erase(it);
    throw;
  }
}

void MemoryPropertyBag::erase(std::u16string_view key) {
  auto it = index_.find(key);
  if (it == index_.end()) return;
  const size_t at = it->second;
  index_.erase(it);
  entries_.erase(entries_.begin() + ptrdiff_t(at));
  for (auto& [k, position] : index_)
    if (position > at) --position;
}

}  // namespace qs
