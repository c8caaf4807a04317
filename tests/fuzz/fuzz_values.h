// Values and bags built from a fuzzer's bytes, shared by the fuzz targets.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/property_bag.h"
#include "core/property_stream_codec.h"
#include "core/variant.h"

namespace qs::fuzz {

// A text of up to max_units UTF-16 units taken as they come (lone
// surrogates and NULs included).
inline std::u16string fuzzed_text(FuzzedDataProvider& in, size_t max_units = 64) {
  const size_t n = in.ConsumeIntegralInRange<size_t>(0, max_units);
  std::u16string t;
  for (size_t i = 0; i < n && in.remaining_bytes() > 0; ++i)
    t += char16_t(in.ConsumeIntegral<uint16_t>());
  return t;
}

// Any value a Variant can hold, NaN and infinities included, from bit
// patterns rather than from the provider's own number ranges.
inline Variant fuzzed_value(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 11)) {
    case 0: return Variant();
    case 1: return Variant::null();
    case 2: return Variant::missing();
    case 3: return Variant(in.ConsumeBool());
    case 4: return Variant(in.ConsumeIntegral<int16_t>());
    case 5: return Variant(in.ConsumeIntegral<int32_t>());
    case 6: return Variant(std::bit_cast<float>(in.ConsumeIntegral<uint32_t>()));
    case 7: return Variant(std::bit_cast<double>(in.ConsumeIntegral<uint64_t>()));
    case 8: return Variant(fuzzed_text(in));
    case 9: {
      FontDesc d;
      d.name = fuzzed_text(in, 16);
      // The platform's font sizes are currency values, 1/10000 points, of a
      // range the property stream holds.
      d.size = double(in.ConsumeIntegralInRange<int64_t>(-kMaxPropertyStreamFontUnits,
                                                          kMaxPropertyStreamFontUnits)) /
               10000.0;
      d.weight = in.ConsumeIntegral<int16_t>();
      d.charset = in.ConsumeIntegral<int16_t>();
      d.italic = in.ConsumeBool();
      d.underline = in.ConsumeBool();
      d.strikethrough = in.ConsumeBool();
      return Variant(make_font(std::move(d)));
    }
    case 10: return Variant::nothing();
    default: {
      auto p = std::make_shared<Picture>();
      // The picture kinds there are: an empty picture object has no handle
      // and no size.
      const PictureType kinds[] = {PictureType::kNone, PictureType::kBitmap, PictureType::kIcon};
      p->type = kinds[in.ConsumeIntegralInRange<size_t>(0, 2)];
      if (p->type != PictureType::kNone) {
        p->handle = in.ConsumeIntegral<int32_t>();
        p->width = in.ConsumeIntegral<int32_t>();
        p->height = in.ConsumeIntegral<int32_t>();
      }
      // Some pictures carry data, as loaded ones do (an empty one never).
      if (p->type != PictureType::kNone && in.ConsumeBool()) {
        const size_t n = in.ConsumeIntegralInRange<size_t>(1, 64);
        p->data = in.ConsumeBytes<uint8_t>(n);
      }
      return Variant(PictureRef(p));
    }
  }
}

// A bag of up to 32 entries; most keys are taken from `known` (the keys a
// control reads), the rest are arbitrary texts.
inline MemoryPropertyBag fuzzed_bag(FuzzedDataProvider& in,
                                    const std::vector<std::u16string>& known) {
  MemoryPropertyBag bag;
  const int n = in.ConsumeIntegralInRange<int>(0, 32);
  for (int i = 0; i < n && in.remaining_bytes() > 0; ++i) {
    const uint8_t pick = in.ConsumeIntegral<uint8_t>();
    std::u16string key = !known.empty() && pick < 224 ? known[pick % known.size()]
                                                      : fuzzed_text(in, 24);
    bag.put(key, fuzzed_value(in));
  }
  return bag;
}

// Whether two values are the same: kind and payload, a NaN equal to a NaN,
// fonts by description, pictures by content.
inline bool same_value(const Variant& a, const Variant& b) {
  if (a.type() != b.type()) return false;
  if (a.is_number()) {
    const double x = a.number_value(), y = b.number_value();
    return (std::isnan(x) && std::isnan(y)) || std::memcmp(&x, &y, sizeof x) == 0;
  }
  if (a.is_object()) {
    FontRef fa = a.to_font(), fb = b.to_font();
    if (fa || fb) return fa && fb && fa->desc() == fb->desc();
    PictureRef pa = a.to_picture(), pb = b.to_picture();
    if (pa || pb) return pa && pb && *pa == *pb;
    return true;
  }
  return a.identical(b);
}

// Whether two bags hold the same keys, in the same order, with the same values.
inline bool same_entries(const MemoryPropertyBag& a, const MemoryPropertyBag& b) {
  if (a.entries().size() != b.entries().size()) return false;
  for (size_t i = 0; i < a.entries().size(); ++i) {
    if (a.entries()[i].first != b.entries()[i].first) return false;
    if (!same_value(a.entries()[i].second, b.entries()[i].second)) return false;
  }
  return true;
}

}  // namespace qs::fuzz
