// Variant conversions, addition and comparison on any two values: each
// either gives a result or raises a runtime error, and the results keep the
// rules the controls rely on.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/runtime_error.h"
#include "core/variant.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_values.h"

namespace {

using qs::Variant;

// Runs f; a runtime error gives its number, success 0.
template <class F>
int32_t outcome(F&& f) {
  try {
    f();
  } catch (const qs::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

void conversions(const Variant& v) {
  int32_t l = 0;
  if (outcome([&] { l = v.to_long(); }) == 0 && v.is_number())
    QS_FUZZ_CHECK(std::fabs(v.number_value() - l) <= 0.5);
  int16_t i = 0;
  if (outcome([&] { i = v.to_integer(); }) == 0 && v.is_number())
    QS_FUZZ_CHECK(std::fabs(v.number_value() - i) <= 0.5);
  double d = 0;
  if (outcome([&] { d = v.to_double(); }) == 0) {
    QS_FUZZ_CHECK(std::isfinite(d));
    // The text form of a number reads back as nearly the same number.
    std::u16string text;
    double back = 0;
    if (v.is_number() && outcome([&] { text = v.to_text(); }) == 0 && !text.empty() &&
        text != u"True" && text != u"False") {
      QS_FUZZ_CHECK(qs::parse_number(text, back));
      QS_FUZZ_CHECK(std::fabs(back - d) <= std::fabs(d) * 1e-6);
    }
  }
  outcome([&] { v.to_single(); });
  outcome([&] { v.to_boolean(); });
  outcome([&] { v.to_text(); });
  outcome([&] { v.to_font(); });
  outcome([&] { v.to_picture(); });
  v.is_numeric();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const Variant a = qs::fuzz::fuzzed_value(in);
  const Variant b = qs::fuzz::fuzzed_value(in);
  conversions(a);
  conversions(b);

  Variant ab, ba;
  const int32_t add_ab = outcome([&] { ab = qs::add(a, b); });
  const int32_t add_ba = outcome([&] { ba = qs::add(b, a); });
  if (add_ab == 0) conversions(ab);
  // Numbers add the same either way round (texts concatenate in order).
  if (!a.is_string() && !b.is_string()) {
    QS_FUZZ_CHECK(add_ab == add_ba);
    if (add_ab == 0) QS_FUZZ_CHECK(qs::fuzz::same_value(ab, ba));
  }

  int ab_order = 0, ba_order = 0;
  const int32_t cmp_ab = outcome([&] { ab_order = qs::compare(a, b); });
  const int32_t cmp_ba = outcome([&] { ba_order = qs::compare(b, a); });
  QS_FUZZ_CHECK(cmp_ab == cmp_ba);
  if (cmp_ab == 0) {
    QS_FUZZ_CHECK(ab_order >= -1 && ab_order <= 1);
    // Null is unordered: it compares as greater from either side.
    if (!a.is_null() && !b.is_null()) QS_FUZZ_CHECK(ab_order == -ba_order);
  }
  return 0;
}
