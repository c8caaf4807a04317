// The container's IPropertyBag as the library's property store.
#pragma once

#include <ocidl.h>

#include "core/property_bag.h"

namespace qs::activex {

class ComPropertyBag : public PropertyBag {
 public:
  ComPropertyBag(IPropertyBag* bag, IErrorLog* log) : bag_(bag), log_(log) {}

 protected:
  // A key the bag does not hold reads as absent; objects come back as the
  // library's font (or picture) values.
  std::optional<Variant> load(std::u16string_view key) override;
  // Writes the value; fonts go in as platform font objects.
  void store(std::u16string_view key, const Variant& value) override;
  // A bag cannot delete: a save writes into a fresh bag.
  void erase(std::u16string_view) override {}

 private:
  IPropertyBag* bag_;
  IErrorLog* log_;
};

}  // namespace qs::activex
