// Variant's conversions, addition and comparison against the platform's own
// (oleaut32's VariantChangeTypeEx, VarAdd and VarCmp) on a table of inputs.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "core/variant.h"

namespace qs {
namespace {

// Texts are converted in US English so the decimal point is "." whatever the
// prefix's user locale is.
const LCID kEnglish = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

// An error number, or 0 and the value produced.
struct Outcome {
  int error = 0;
  Variant value;
};

VARIANT to_com(const Variant& v) {
  VARIANT out;
  VariantInit(&out);
  V_VT(&out) = VARTYPE(v.type());
  switch (v.type()) {
    case VarType::kBoolean: V_BOOL(&out) = v.to_boolean() ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VarType::kInteger: V_I2(&out) = v.to_integer(); break;
    case VarType::kLong: V_I4(&out) = v.to_long(); break;
    case VarType::kSingle: V_R4(&out) = v.to_single(); break;
    case VarType::kDouble: V_R8(&out) = v.to_double(); break;
    case VarType::kString: {
      const std::u16string& s = v.string_value();
      V_BSTR(&out) = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), UINT(s.size()));
      break;
    }
    case VarType::kError: V_ERROR(&out) = DISP_E_PARAMNOTFOUND; break;
    default: break;
  }
  return out;
}

Variant from_com(const VARIANT& v) {
  switch (V_VT(&v)) {
    case VT_EMPTY: return Variant();
    case VT_NULL: return Variant::null();
    case VT_BOOL: return Variant(V_BOOL(&v) != VARIANT_FALSE);
    case VT_I2: return Variant(int16_t(V_I2(&v)));
    case VT_I4: return Variant(int32_t(V_I4(&v)));
    case VT_R4: return Variant(V_R4(&v));
    case VT_R8: return Variant(V_R8(&v));
    case VT_BSTR:
      return Variant(std::u16string(reinterpret_cast<const char16_t*>(V_BSTR(&v)),
                                    SysStringLen(V_BSTR(&v))));
    default: return Variant(u"<unexpected VARTYPE " + utf16(std::to_string(V_VT(&v))) + u">");
  }
}

int error_number(HRESULT hr) {
  switch (hr) {
    case DISP_E_OVERFLOW: return kErrOverflow;
    case DISP_E_TYPEMISMATCH: return kErrTypeMismatch;
    default: return int(hr);
  }
}

// What the platform call produced: its HRESULT as a runtime error, or the
// result (which is cleared here).
Outcome platform_outcome(HRESULT hr, VARIANT& result) {
  if (FAILED(hr)) return {error_number(hr), {}};
  Outcome o{0, from_com(result)};
  VariantClear(&result);
  return o;
}

Outcome our_outcome(const std::function<Variant()>& f) {
  try {
    return {0, f()};
  } catch (const RuntimeError& e) {
    return {e.number(), {}};
  }
}

std::string describe(const Variant& v) {
  std::string kind = std::to_string(int(v.type()));
  if (v.is_empty() || v.is_null() || v.is_missing()) return "vt " + kind;
  if (v.is_string()) return "vt " + kind + " \"" + utf8(v.string_value()) + "\"";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", v.number_value());
  return "vt " + kind + " " + buf;
}

std::string describe(const Outcome& o) {
  return o.error ? "error " + std::to_string(o.error) : describe(o.value);
}

void expect_same(const Outcome& ours, const Outcome& platform, const std::string& what) {
  bool same = ours.error == platform.error && (ours.error != 0 || ours.value.identical(platform.value));
  EXPECT_TRUE(same) << what << ": ours " << describe(ours) << ", platform " << describe(platform);
}

Outcome platform_change(const Variant& in, VARTYPE vt, USHORT flags = 0) {
  VARIANT src = to_com(in), dst;
  VariantInit(&dst);
  HRESULT hr = VariantChangeTypeEx(&dst, &src, kEnglish, flags, vt);
  VariantClear(&src);
  return platform_outcome(hr, dst);
}

// Null is left out throughout conversions: the runtime raises 94 (invalid use
// of Null) where the platform call reports a type mismatch. So are thousands
// separators and currency symbols, which the platform reads by locale.
std::vector<Variant> conversion_inputs() {
  std::vector<Variant> in;
  for (double d : {0.0, 0.5, 1.5, 2.5, 3.5, -0.5, -2.5, -3.5, 2.4999, 2.5001, 32767.0, 32767.49,
                   32767.5, 32768.0, -32768.0, -32768.5, -32768.51, -32769.0, 65535.0,
                   2147483646.5, 2147483647.0, 2147483647.5, 2147483648.0, -2147483648.0,
                   -2147483648.5, -2147483648.6, -2147483649.0, 1e300, -1e300})
    in.emplace_back(d);
  for (float f : {2.5f, 3.5f, -2.5f, 32767.5f, 32768.0f, -32768.5f, 2147483648.0f})
    in.emplace_back(f);
  for (const char16_t* s : {u"12", u" -3 ", u"\t+7\t", u"1e3", u"1.5E+2", u".5", u"5.", u"2.5",
                            u"3.5", u"-2.5", u"32767.5", u"-32768.5", u"2147483647.5",
                            u"2147483648", u"&HFF", u"&hff", u"&O17", u"&HFFFF", u"&H8000",
                            u"&H10000", u"&HFFFFFFFF", u"x", u"", u" ", u"1e", u"--1", u"1 2",
                            u"&H", u"&HG", u".", u"True", u" false ", u"yes"})
    in.emplace_back(s);
  in.emplace_back(true);
  in.emplace_back(false);
  in.emplace_back(int16_t{-32768});
  in.emplace_back(int32_t{32768});
  in.emplace_back(INT32_MIN);
  in.emplace_back();
  in.push_back(Variant::missing());
  return in;
}

TEST(VariantPlatformTest, ConversionsMatchVariantChangeType) {
  for (const Variant& v : conversion_inputs()) {
    expect_same(our_outcome([&] { return Variant(v.to_integer()); }), platform_change(v, VT_I2),
                describe(v) + " to VT_I2");
    expect_same(our_outcome([&] { return Variant(v.to_long()); }), platform_change(v, VT_I4),
                describe(v) + " to VT_I4");
    expect_same(our_outcome([&] { return Variant(v.to_double()); }), platform_change(v, VT_R8),
                describe(v) + " to VT_R8");
    expect_same(our_outcome([&] { return Variant(v.to_boolean()); }), platform_change(v, VT_BOOL),
                describe(v) + " to VT_BOOL");
  }
}

TEST(VariantPlatformTest, TextFormMatchesTheRuntime) {
  std::vector<Variant> in;
  for (double d : {2135.5, 1e20, 1e-5, -3.0, 0.001, 0.0001, 0.00012345, 123456789012345.0,
                   1234567890123456.0, 0.1 + 0.2, 1.0 / 3, -2.0 / 3, 1e100, -1e-100, 1e15, 1e14,
                   999999999999999.0, 9999999999999995.0, 1e-4 / 3, 65536.25, -0.0})
    in.emplace_back(d);
  for (float f : {1.0f / 3, 0.1f, 1e7f, 1234567.0f, 12345678.0f, 2135.5f, 1e-5f, 3.4e38f, -7.25f})
    in.emplace_back(f);
  for (const Variant& v : {Variant(true), Variant(false), Variant(int16_t{-32768}),
                           Variant(INT32_MIN), Variant(), Variant(u" 012 ")})
    in.push_back(v);
  for (const Variant& v : in) {
    // The runtime's text form of a Boolean is the word, as with VARIANT_ALPHABOOL.
    expect_same(our_outcome([&] { return Variant(v.to_text()); }),
                platform_change(v, VT_BSTR, VARIANT_ALPHABOOL), describe(v) + " to VT_BSTR");
  }
}

TEST(VariantPlatformTest, AdditionMatchesVarAdd) {
  // Texts hold integers only: VarAdd reads them in the user locale. Doubles
  // whose sum overflows are left out: the runtime raises overflow (6) where
  // Wine's VarAdd returns an infinity. A missing argument is left out: VarAdd
  // calls its kind invalid (DISP_E_BADVARTYPE), the runtime a type mismatch.
  std::vector<Variant> in = {Variant(),           Variant::null(),     Variant(true),
                             Variant(int16_t{2}), Variant(int16_t{32767}), Variant(int32_t{5}),
                             Variant(INT32_MAX),  Variant(1.5f),      Variant(3e38f),
                             Variant(2.5),        Variant(1e300),      Variant(u"12"),
                             Variant(u"ab"),      Variant(u"1e3"),    Variant(u""),
                             Variant(u"&HFF")};
  for (const Variant& a : in) {
    for (const Variant& b : in) {
      VARIANT ca = to_com(a), cb = to_com(b), r;
      VariantInit(&r);
      HRESULT hr = VarAdd(&ca, &cb, &r);
      VariantClear(&ca);
      VariantClear(&cb);
      expect_same(our_outcome([&] { return add(a, b); }), platform_outcome(hr, r),
                  describe(a) + " + " + describe(b));
    }
  }
}

TEST(VariantPlatformTest, ComparisonMatchesVarCmp) {
  // Left out: Null (VarCmp answers VARCMP_NULL, the runtime's operators give
  // Null), a numeric text against a number (VarCmp ranks every text above a
  // number; the runtime's operators first read the text as a number), and
  // mixed-case texts (VarCmp sorts by locale, the runtime by code unit).
  std::vector<Variant> in = {Variant(),       Variant(true),         Variant(int16_t{-1}),
                             Variant(int16_t{5}), Variant(int32_t{5}), Variant(2.5f),
                             Variant(2.5),    Variant(-1e300),       Variant(u""),
                             Variant(u"a"),   Variant(u"b"),         Variant(u"ab"),
                             Variant(u"abc"), Variant(u"10"),        Variant(u"9")};
  for (const Variant& a : in) {
    for (const Variant& b : in) {
      if ((a.is_string() && a.is_numeric() && b.is_number()) ||
          (b.is_string() && b.is_numeric() && a.is_number()))
        continue;
      VARIANT ca = to_com(a), cb = to_com(b);
      HRESULT hr = VarCmp(&ca, &cb, kEnglish, 0);
      VariantClear(&ca);
      VariantClear(&cb);
      Outcome platform;
      if (FAILED(hr)) platform.error = error_number(hr);
      else platform.value = Variant(int32_t(hr) - int32_t(VARCMP_EQ));
      expect_same(our_outcome([&] { return Variant(int32_t(compare(a, b))); }), platform,
                  describe(a) + " cmp " + describe(b));
    }
  }
}

}  // namespace
}  // namespace qs
