// The property store a control is restored from and saved to.
//
// read(key, default) gives the stored value or the default; write(key, value,
// default) stores nothing when the value equals the default. That rule lives
// here once; adaptors (memory, the host's bag, streams) supply load and store.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/variant.h"

namespace qs {

// Whether the store counts value as equal to its default (and so omits it).
// Numbers of any kind compare by value, texts exactly, fonts by description,
// pictures by content; a text never equals a number.
bool equals_default(const Variant& value, const Variant& def);

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;

  Variant read(std::u16string_view key, const Variant& def);
  void write(std::u16string_view key, const Variant& value, const Variant& def);
  // The stored value of a key, or nothing when the store does not hold it.
  std::optional<Variant> lookup(std::u16string_view key) { return load(key); }

 protected:
  virtual std::optional<Variant> load(std::u16string_view key) = 0;
  virtual void store(std::u16string_view key, const Variant& value) = 0;
  virtual void erase(std::u16string_view key) = 0;
};

// A bag in memory, keeping keys in the order first written. Keys are found
// through an ordered index, so reading or putting n keys costs O(n log n)
// whatever the keys are; erasing a key costs O(n).
class MemoryPropertyBag : public PropertyBag {
 public:
  using Entry = std::pair<std::u16string, Variant>;

  const std::vector<Entry>& entries() const { return entries_; }
  bool contains(std::u16string_view key) const;
  // The stored value; Variant() when absent.
  Variant get(std::u16string_view key) const;
  // Puts a value directly, bypassing the default rule (for prepared sets).
  void put(std::u16string_view key, Variant value);
  // The same, taking over the key's storage (for loaders).
  void emplace(std::u16string key, Variant value);
  void clear();

 protected:
  std::optional<Variant> load(std::u16string_view key) override;
  void store(std::u16string_view key, const Variant& value) override;
  void erase(std::u16string_view key) override;

 private:
  // The position of a key's entry, or nullptr.
  const size_t* find(std::u16string_view key) const;
  // Adds an entry for a key not yet held.
  void append(std::u16string key, Variant value);

  std::vector<Entry> entries_;
  // Key to position in entries_.
  std::map<std::u16string, size_t, std::less<>> index_;
};

}  // namespace qs
