// The runtime's value conversions the controls rely on.
#include "core/variant.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "core/runtime_error.h"
#include "tests/support/error_of.h"

namespace qs {
namespace {

using qs::test::error_of;

TEST(VariantTest, IntegerConversionsRoundHalfToEven) {
  EXPECT_EQ(Variant(2.5).to_integer(), 2);
  EXPECT_EQ(Variant(3.5).to_integer(), 4);
  EXPECT_EQ(Variant(-2.5).to_integer(), -2);
  EXPECT_EQ(Variant(-3.5).to_integer(), -4);
  EXPECT_EQ(Variant(0.5).to_integer(), 0);
  EXPECT_EQ(Variant(2.4999).to_integer(), 2);
  EXPECT_EQ(Variant(2.5001).to_integer(), 3);
  EXPECT_EQ(Variant(1.5f).to_integer(), 2);
  EXPECT_EQ(Variant(2.5).to_long(), 2);
  EXPECT_EQ(Variant(-7.5).to_long(), -8);
  EXPECT_EQ(Variant(2147483646.5).to_long(), 2147483646);
  EXPECT_EQ(Variant(u"4.5").to_long(), 4);
  EXPECT_EQ(Variant(true).to_integer(), -1);
  EXPECT_EQ(Variant().to_long(), 0);
}

TEST(VariantTest, OverflowAtTheEdgesOfTheRange) {
  EXPECT_EQ(Variant(32767.0).to_integer(), 32767);
  EXPECT_EQ(Variant(32767.49).to_integer(), 32767);
  EXPECT_EQ(error_of([] { Variant(32767.5).to_integer(); }), kErrOverflow);
  EXPECT_EQ(error_of([] { Variant(int32_t{32768}).to_integer(); }), kErrOverflow);
  EXPECT_EQ(Variant(int32_t{-32768}).to_integer(), -32768);
  EXPECT_EQ(Variant(-32768.5).to_integer(), -32768);
  EXPECT_EQ(error_of([] { Variant(-32768.51).to_integer(); }), kErrOverflow);
  EXPECT_EQ(error_of([] { Variant(u"40000").to_integer(); }), kErrOverflow);

  EXPECT_EQ(Variant(2147483647.0).to_long(), 2147483647);
  EXPECT_EQ(error_of([] { Variant(2147483647.5).to_long(); }), kErrOverflow);
  EXPECT_EQ(error_of([] { Variant(2147483648.0).to_long(); }), kErrOverflow);
  EXPECT_EQ(Variant(-2147483648.0).to_long(), INT32_MIN);
  EXPECT_EQ(Variant(-2147483648.5).to_long(), INT32_MIN);
  EXPECT_EQ(error_of([] { Variant(-2147483648.6).to_long(); }), kErrOverflow);
  EXPECT_EQ(error_of([] { Variant(1e300).to_long(); }), kErrOverflow);
  EXPECT_EQ(error_of([] { Variant(u"1e400").to_double(); }), kErrOverflow);
  EXPECT_EQ(error_of([] { Variant(1e300).to_single(); }), kErrOverflow);
}

TEST(VariantTest, NonNumericValuesAreATypeMismatch) {
  for (const Variant& v : {Variant(u"x"), Variant(u""), Variant(u" "), Variant(u"1e"),
                           Variant(u"--1"), Variant(u"1 2"), Variant(u"&H"), Variant(u"&HG"),
                           Variant::nothing(), Variant(make_font()), Variant::missing()}) {
    EXPECT_EQ(error_of([&] { v.to_integer(); }), kErrTypeMismatch);
    EXPECT_EQ(error_of([&] { v.to_long(); }), kErrTypeMismatch);
    EXPECT_EQ(error_of([&] { v.to_double(); }), kErrTypeMismatch);
  }
  EXPECT_EQ(error_of([] { Variant(make_font()).to_text(); }), kErrTypeMismatch);
  EXPECT_EQ(error_of([] { Variant(int32_t{1}).to_font(); }), kErrTypeMismatch);
  EXPECT_EQ(error_of([] { Variant::null().to_long(); }), 94);
  EXPECT_EQ(error_of([] { Variant::null().to_text(); }), 94);
}

TEST(VariantTest, NonFiniteNumbersOverflowInEveryNumericUse) {
  // NaN and the infinities reach a Variant only from outside (a stream, a
  // client); the runtime's conversions and arithmetic never hand them on.
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Variant values[] = {Variant(nan), Variant(inf), Variant(-inf),
                            Variant(float(nan)), Variant(float(inf)), Variant(float(-inf))};
  const std::function<void(const Variant&)> uses[] = {
      [](const Variant& v) { v.to_integer(); },
      [](const Variant& v) { v.to_long(); },
      [](const Variant& v) { v.to_single(); },
      [](const Variant& v) { v.to_double(); },
      [](const Variant& v) { v.to_boolean(); },
      [](const Variant& v) { add(v, Variant(int16_t{1})); },
      [](const Variant& v) { add(Variant(), v); },
      [](const Variant& v) { compare(v, Variant(int16_t{0})); },
      [](const Variant& v) { compare(Variant(2.5), v); },
  };
  for (const Variant& v : values) {
    for (size_t i = 0; i < std::size(uses); ++i) {
      EXPECT_EQ(error_of([&] { uses[i](v); }), kErrOverflow)
          << "use " << i << " of " << utf8(v.to_text());
    }
  }
  // Numeric texts that overflow a Double behave the same.
  EXPECT_EQ(error_of([] { Variant(u"-1e999").to_long(); }), kErrOverflow);
  EXPECT_EQ(error_of([] { add(Variant(u"1e999"), Variant(int16_t{1})); }), kErrOverflow);
}

TEST(VariantTest, NumericTextParses) {
  EXPECT_EQ(Variant(u"12").to_integer(), 12);
  EXPECT_EQ(Variant(u" -3 ").to_integer(), -3);
  EXPECT_EQ(Variant(u"\t+7\t").to_long(), 7);
  EXPECT_EQ(Variant(u"1e3").to_integer(), 1000);
  EXPECT_EQ(Variant(u"1.5E+2").to_double(), 150.0);
  EXPECT_EQ(Variant(u".5").to_double(), 0.5);
  EXPECT_EQ(Variant(u"5.").to_double(), 5.0);
  EXPECT_EQ(Variant(u"&HFF").to_integer(), 255);
  EXPECT_EQ(Variant(u"&hff").to_long(), 255);
  EXPECT_EQ(Variant(u"&O17").to_long(), 15);
  // Hex texts are bit patterns read at the target's width.
  EXPECT_EQ(Variant(u"&HFFFF").to_integer(), -1);
  EXPECT_EQ(Variant(u"&HFFFF").to_long(), 65535);
  EXPECT_EQ(Variant(u"&HFFFFFFFF").to_long(), -1);
  EXPECT_EQ(error_of([] { Variant(u"&H10000").to_integer(); }), kErrOverflow);
  EXPECT_EQ(Variant(u"&HFFFF").to_double(), 65535.0);
  EXPECT_EQ(error_of([] { Variant(u"&HFFFFFFFF").to_double(); }), kErrOverflow);

  double d = 0;
  EXPECT_TRUE(parse_number(u" 2.5e-1 ", d));
  EXPECT_EQ(d, 0.25);
  EXPECT_FALSE(parse_number(u"", d));
  EXPECT_FALSE(parse_number(u"1,5", d));
  EXPECT_FALSE(parse_number(u".", d));
}

TEST(VariantTest, NumericTest) {
  EXPECT_TRUE(Variant().is_numeric());
  EXPECT_TRUE(Variant(false).is_numeric());
  EXPECT_TRUE(Variant(1.5f).is_numeric());
  EXPECT_TRUE(Variant(u" 1.5E+3 ").is_numeric());
  EXPECT_TRUE(Variant(u"&H7F").is_numeric());
  EXPECT_FALSE(Variant(u"").is_numeric());
  EXPECT_FALSE(Variant(u"abc").is_numeric());
  EXPECT_FALSE(Variant(u"True").is_numeric());
  EXPECT_FALSE(Variant::null().is_numeric());
  EXPECT_FALSE(Variant::missing().is_numeric());
  EXPECT_FALSE(Variant::nothing().is_numeric());
}

TEST(VariantTest, TextFormOfValues) {
  EXPECT_EQ(Variant(2135.5).to_text(), u"2135.5");
  EXPECT_EQ(Variant(1e20).to_text(), u"1E+20");
  EXPECT_EQ(Variant(1e-5).to_text(), u"1E-05");
  EXPECT_EQ(Variant(-3.0).to_text(), u"-3");
  EXPECT_EQ(Variant(0.001).to_text(), u"0.001");
  EXPECT_EQ(Variant(0.0001).to_text(), u"0.0001");
  EXPECT_EQ(Variant(-0.0).to_text(), u"0");
  EXPECT_EQ(Variant(123456789012345.0).to_text(), u"123456789012345");
  EXPECT_EQ(Variant(1234567890123456.0).to_text(), u"1.23456789012346E+15");
  EXPECT_EQ(Variant(0.1 + 0.2).to_text(), u"0.3");
  EXPECT_EQ(Variant(1e100).to_text(), u"1E+100");
  EXPECT_EQ(Variant(1.0f / 3).to_text(), u"0.3333333");
  EXPECT_EQ(Variant(0.1f).to_text(), u"0.1");
  EXPECT_EQ(Variant(1e7f).to_text(), u"1E+07");
  EXPECT_EQ(Variant(int16_t{-5}).to_text(), u"-5");
  EXPECT_EQ(Variant(INT32_MIN).to_text(), u"-2147483648");
  EXPECT_EQ(Variant(true).to_text(), u"True");
  EXPECT_EQ(Variant(false).to_text(), u"False");
  EXPECT_EQ(Variant().to_text(), u"");
  EXPECT_EQ(Variant(u" 012 ").to_text(), u" 012 ");
}

TEST(VariantTest, BooleanConversions) {
  EXPECT_TRUE(Variant(u"True").to_boolean());
  EXPECT_FALSE(Variant(u"FALSE").to_boolean());
  EXPECT_TRUE(Variant(u" -1 ").to_boolean());
  EXPECT_FALSE(Variant(u"0").to_boolean());
  EXPECT_TRUE(Variant(0.1).to_boolean());
  EXPECT_FALSE(Variant().to_boolean());
  EXPECT_EQ(error_of([] { Variant(u"yes").to_boolean(); }), kErrTypeMismatch);
  EXPECT_EQ(error_of([] { Variant(u" true ").to_boolean(); }), kErrTypeMismatch);
  EXPECT_EQ(error_of([] { Variant::nothing().to_boolean(); }), kErrTypeMismatch);
  EXPECT_EQ(Variant(true).number_value(), -1);
}

TEST(VariantTest, AdditionWidensAsTheRuntimeDoes) {
  Variant v = add(Variant(int16_t{2}), Variant(int16_t{3}));
  EXPECT_EQ(v.type(), VarType::kInteger);
  EXPECT_EQ(v.to_long(), 5);
  v = add(Variant(int16_t{32767}), Variant(int16_t{1}));
  EXPECT_EQ(v.type(), VarType::kLong);
  EXPECT_EQ(v.to_long(), 32768);
  v = add(Variant(INT32_MAX), Variant(int16_t{1}));
  EXPECT_EQ(v.type(), VarType::kDouble);
  EXPECT_EQ(v.to_double(), 2147483648.0);
  EXPECT_EQ(add(Variant(true), Variant(true)).type(), VarType::kInteger);
  EXPECT_EQ(add(Variant(true), Variant(int16_t{1})).to_long(), 0);
  EXPECT_EQ(add(Variant(1.5f), Variant(int16_t{1})).type(), VarType::kSingle);
  EXPECT_EQ(add(Variant(1.5f), Variant(int32_t{1})).type(), VarType::kDouble);
  EXPECT_EQ(add(Variant(), Variant()).type(), VarType::kInteger);
  EXPECT_EQ(add(Variant(), Variant(int32_t{4})).type(), VarType::kLong);

  EXPECT_EQ(add(Variant(u"ab"), Variant(u"cd")).to_text(), u"abcd");
  EXPECT_EQ(add(Variant(), Variant(u"a")).to_text(), u"a");
  v = add(Variant(u"12"), Variant(int16_t{3}));
  EXPECT_EQ(v.type(), VarType::kDouble);
  EXPECT_EQ(v.to_double(), 15.0);
  EXPECT_EQ(error_of([] { add(Variant(u"x"), Variant(int16_t{1})); }), kErrTypeMismatch);
  EXPECT_EQ(error_of([] { add(Variant::nothing(), Variant(int16_t{1})); }), kErrTypeMismatch);
  EXPECT_EQ(error_of([] { add(Variant(1e308), Variant(1e308)); }), kErrOverflow);
  EXPECT_TRUE(add(Variant::null(), Variant(int16_t{1})).is_null());
  EXPECT_TRUE(add(Variant(u"a"), Variant::null()).is_null());
}

TEST(VariantTest, Comparison) {
  EXPECT_EQ(compare(Variant(int16_t{1}), Variant(2.0)), -1);
  EXPECT_EQ(compare(Variant(2.0), Variant(int32_t{2})), 0);
  EXPECT_EQ(compare(Variant(true), Variant(int16_t{-1})), 0);
  EXPECT_EQ(compare(Variant(u"10"), Variant(int16_t{9})), 1);
  EXPECT_EQ(compare(Variant(int16_t{9}), Variant(u" 10 ")), -1);
  EXPECT_EQ(compare(Variant(u"abc"), Variant(1e300)), 1);
  EXPECT_EQ(compare(Variant(int16_t{5}), Variant(u"abc")), -1);
  EXPECT_EQ(compare(Variant(u"a"), Variant(u"b")), -1);
  EXPECT_EQ(compare(Variant(u"B"), Variant(u"a")), -1);
  EXPECT_EQ(compare(Variant(u"ab"), Variant(u"a")), 1);
  EXPECT_EQ(compare(Variant(u"10"), Variant(u"9")), -1);
  EXPECT_EQ(compare(Variant(), Variant(int16_t{0})), 0);
  EXPECT_EQ(compare(Variant(), Variant(u"")), 0);
  EXPECT_EQ(compare(Variant(), Variant(u"a")), -1);
  EXPECT_EQ(compare(Variant::null(), Variant::null()), 0);
  EXPECT_EQ(compare(Variant::null(), Variant(int16_t{1})), 1);
  EXPECT_EQ(compare(Variant(int16_t{1}), Variant::null()), 1);
}

TEST(VariantTest, IdentityAndKinds) {
  FontRef f = make_font();
  EXPECT_TRUE(Variant(f).identical(Variant(f)));
  EXPECT_FALSE(Variant(f).identical(Variant(make_font())));
  EXPECT_FALSE(Variant(int16_t{1}).identical(Variant(int32_t{1})));
  EXPECT_TRUE(Variant(u"a").identical(Variant(u"a")));
  EXPECT_EQ(Variant(f).to_font(), f);
  EXPECT_EQ(Variant(f).to_picture(), nullptr);
  EXPECT_EQ(Variant::nothing().to_font(), nullptr);
  EXPECT_TRUE(Variant::missing().is_missing());
  EXPECT_FALSE(Variant::missing().is_empty());
  EXPECT_FALSE(Variant::nothing().is_number());
}

TEST(VariantTest, Utf8AndUtf16RoundTrip) {
  std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E";  // a, e acute, euro, G clef
  std::u16string wide = utf16(text);
  EXPECT_EQ(wide, u"a\u00E9\u20AC\U0001D11E");
  EXPECT_EQ(utf8(wide), text);
  EXPECT_EQ(utf16("x\xFFy"), u"x\uFFFDy");
  EXPECT_EQ(utf16("\xE2\x82"), u"\uFFFD\uFFFD");
  EXPECT_EQ(utf8(u"\xD800z"), "\xEF\xBF\xBDz");
}

}  // namespace
}  // namespace qs
