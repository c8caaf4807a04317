#include "com_property_bag.h"

#include "com_util.h"
#include "error_info.h"
#include "variant_convert.h"

namespace qs::activex {

std::optional<Variant> ComPropertyBag::load(std::u16string_view key) {
  std::u16string name(key);
  VARIANT v;
  VariantInit(&v);
  if (FAILED(bag_->Read(wide(name), &v, log_))) return std::nullopt;
  try {
    Variant value = from_variant(v);
    VariantClear(&v);
    return value;
  } catch (...) {
    VariantClear(&v);
    throw;
  }
}

void ComPropertyBag::store(std::u16string_view key, const Variant& value) {
  std::u16string name(key);
  VARIANT v;
  to_variant(value, &v);
  HRESULT hr = bag_->Write(wide(name), &v);
  VariantClear(&v);
  if (FAILED(hr)) throw ComFailure{hr};
}

}  // namespace qs::activex
