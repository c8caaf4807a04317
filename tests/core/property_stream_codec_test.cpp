// The property-stream format: its exact bytes, what survives a round trip,
// and how damaged or hostile streams fail.
#include "core/property_stream_codec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "tests/support/error_of.h"
#include "tests/support/picture_files.h"

namespace qs {
namespace {

using Bytes = std::vector<uint8_t>;
using test::error_of;

// Appends little-endian fields to a byte vector.
struct Builder {
  Bytes b;
  Builder& raw(std::initializer_list<uint8_t> bytes) {
    b.insert(b.end(), bytes);
    return *this;
  }
  Builder& u16(uint16_t v) { return raw({uint8_t(v), uint8_t(v >> 8)}); }
  Builder& u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
  Builder& u64(uint64_t v) { return u32(uint32_t(v)).u32(uint32_t(v >> 32)); }
  Builder& text(std::u16string_view t) {
    u32(uint32_t(t.size()));
    for (char16_t c : t) u16(c);
    return *this;
  }
  Builder& header(uint32_t count, uint16_t version = 1) {
    return raw({'Q', 'S', 'P', 'S'}).u16(version).u16(0).u32(count);
  }
};

PropertyStreamFault fault_of(const Bytes& bytes) {
  MemoryPropertyBag bag;
  try {
    decode_property_stream(bytes, bag);
  } catch (const PropertyStreamError& e) {
    return e.fault();
  }
  ADD_FAILURE() << "the stream decoded";
  return PropertyStreamFault::kMalformed;
}

// Same keys in the same order, same kinds, same payloads (a NaN equals a NaN,
// fonts compare by description).
void expect_same_entries(const MemoryPropertyBag& a, const MemoryPropertyBag& b) {
  ASSERT_EQ(a.entries().size(), b.entries().size());
  for (size_t i = 0; i < a.entries().size(); ++i) {
    const auto& [ka, va] = a.entries()[i];
    const auto& [kb, vb] = b.entries()[i];
    SCOPED_TRACE(utf8(ka));
    EXPECT_EQ(ka, kb);
    ASSERT_EQ(va.type(), vb.type());
    if (va.is_number()) {
      const double x = va.number_value(), y = vb.number_value();
      EXPECT_TRUE((std::isnan(x) && std::isnan(y)) || std::memcmp(&x, &y, sizeof x) == 0)
          << x << " vs " << y;
    } else if (va.is_object()) {
      FontRef fa = va.to_font(), fb = vb.to_font();
      ASSERT_EQ(bool(fa), bool(fb));
      if (fa) {
        EXPECT_EQ(fa->desc(), fb->desc());
      }
    } else {
      EXPECT_TRUE(va.identical(vb));
    }
  }
}

TEST(PropertyStreamCodecTest, EncodesEveryKindToItsExactBytes) {
  FontDesc desc{u"Arial", 9.75, 700, true, false, true, 2};
  MemoryPropertyBag bag;
  bag.put(u"E", Variant());
  bag.put(u"N", Variant::null());
  bag.put(u"M", Variant::missing());
  bag.put(u"I", Variant(int16_t{-2}));
  bag.put(u"B", Variant(true));
  bag.put(u"L", Variant(int32_t{0x12345678}));
  bag.put(u"S", Variant(1.5f));
  bag.put(u"D", Variant(-2.0));
  bag.put(u"T", Variant(u"h\u00e9"));
  bag.put(u"F", Variant(make_font(desc)));
  bag.put(u"O", Variant::nothing());

  const Bytes expected =
      Builder()
          .header(11)
          .text(u"E").u16(0)
          .text(u"N").u16(1)
          .text(u"M").u16(10)
          .text(u"I").u16(2).u16(0xFFFE)
          .text(u"B").u16(11).u16(0xFFFF)
          .text(u"L").u16(3).u32(0x12345678)
          .text(u"S").u16(4).u32(0x3FC00000)
          .text(u"D").u16(5).u64(0xC000000000000000)
          .text(u"T").u16(8).text(u"h\u00e9")
          .text(u"F").u16(9).raw({1}).text(u"Arial").u64(97500).u16(700).u16(2).raw({1, 0, 1})
          .text(u"O").u16(9).raw({0})
          .b;
  EXPECT_EQ(encode_property_stream(bag), expected);

  MemoryPropertyBag back;
  EXPECT_EQ(decode_property_stream(expected, back), expected.size());
  expect_same_entries(bag, back);
}

TEST(PropertyStreamCodecTest, ValuesOutsideTheRuntimesRangeSurviveARoundTrip) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Variant values[] = {Variant(nan),  Variant(inf),       Variant(-inf),
                            Variant(-0.0), Variant(float(inf)), Variant(float(nan)),
                            Variant(std::numeric_limits<double>::denorm_min()),
                            Variant(int16_t{-32768}), Variant(INT32_MIN),
                            Variant(std::u16string(u"\0\xD800\r\n", 4)),
                            Variant(make_font(FontDesc{u"", 1e-4})),
                            Variant(make_font(FontDesc{u"", -9e11}))};
  MemoryPropertyBag bag;
  for (size_t i = 0; i < std::size(values); ++i) bag.put(utf16(std::to_string(i)), values[i]);
  // The empty key is a key like any other.
  bag.put(u"", Variant(int32_t{1}));
  MemoryPropertyBag back;
  decode_property_stream(encode_property_stream(bag), back);
  expect_same_entries(bag, back);
}

TEST(PropertyStreamCodecTest, DamagedStreamsFailWithTheirFault) {
  using F = PropertyStreamFault;
  struct Case {
    const char* what;
    Bytes bytes;
    F fault;
  };
  const Case cases[] = {
      {"empty", {}, F::kTruncated},
      {"not the magic", Builder().raw({'Q', 'S', 'P', 'X'}).u16(1).u16(0).u32(0).b, F::kMalformed},
      {"version 0", Builder().header(0, 0).b, F::kUnknownVersion},
      {"version 2", Builder().header(0, 2).b, F::kUnknownVersion},
      {"records beyond the cap", Builder().header(kMaxPropertyStreamRecords + 1).b,
       F::kTooManyRecords},
      {"the most records, none there", Builder().header(kMaxPropertyStreamRecords).b,
       F::kTruncated},
      {"unknown kind", Builder().header(1).text(u"k").u16(7).b, F::kMalformed},
      {"kind with the high bit", Builder().header(1).text(u"k").u16(0x8008).b, F::kMalformed},
      {"unknown object", Builder().header(1).text(u"k").u16(9).raw({3}).b, F::kMalformed},
      {"key longer than allowed", Builder().header(1).u32(kMaxPropertyStreamText + 1).b,
       F::kMalformed},
      {"key claims more than there is", Builder().header(1).u32(0x3FFFFFF0).u16('a').b,
       F::kTruncated},
      {"text claims more than there is",
       Builder().header(1).text(u"k").u16(8).u32(5000).u16('a').b, F::kTruncated},
      {"font size beyond the limit",
       Builder().header(1).text(u"F").u16(9).raw({1}).text(u"A")
           .u64(uint64_t(kMaxPropertyStreamFontUnits + 1)).b,
       F::kMalformed},
      {"font size at the most negative",
       Builder().header(1).text(u"F").u16(9).raw({1}).text(u"A").u64(uint64_t{1} << 63).b,
       F::kMalformed},
      {"fewer records than counted", Builder().header(2).text(u"k").u16(0).b, F::kTruncated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(fault_of(c.bytes), c.fault);
  }
}

TEST(PropertyStreamCodecTest, EveryCutOfAGoodStreamIsTruncated) {
  MemoryPropertyBag bag;
  bag.put(u"Caption", Variant(u"Hello"));
  bag.put(u"Font", Variant(make_font()));
  bag.put(u"Size", Variant(12.5));
  const Bytes full = encode_property_stream(bag);
  for (size_t n = 0; n < full.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(fault_of(Bytes(full.begin(), full.begin() + ptrdiff_t(n))),
              PropertyStreamFault::kTruncated);
  }
  // Bytes after the property set belong to someone else and are left alone.
  Bytes longer = full;
  longer.insert(longer.end(), {1, 2, 3});
  MemoryPropertyBag back;
  EXPECT_EQ(decode_property_stream(longer, back), full.size());
  expect_same_entries(bag, back);
}

TEST(PropertyStreamCodecTest, FontSizesReadBackExactly) {
  // Every count of 1/10000 points, up to the limit, reads as a size that is
  // written as the same count; sizes off the grid are written as the nearer.
  const int64_t max = kMaxPropertyStreamFontUnits;
  for (int64_t units : {int64_t{0}, int64_t{1}, int64_t{-1}, int64_t{82500}, int64_t{97501},
                        max, -max, max - 1, -max + 1, max / 3, int64_t{123456789012345}}) {
    SCOPED_TRACE(units);
    const Bytes bytes =
        Builder().header(1).text(u"F").u16(9).raw({1}).text(u"A").u64(uint64_t(units))
            .u16(400).u16(0).raw({0, 0, 0}).b;
    MemoryPropertyBag bag;
    decode_property_stream(bytes, bag);
    const Bytes again = encode_property_stream(bag);
    MemoryPropertyBag back;
    decode_property_stream(again, back);
    expect_same_entries(bag, back);
    EXPECT_EQ(encode_property_stream(back), again);
  }
  MemoryPropertyBag bag;
  bag.put(u"F", Variant(make_font(FontDesc{u"A", 8.12346})));
  MemoryPropertyBag back;
  decode_property_stream(encode_property_stream(bag), back);
  EXPECT_EQ(back.get(u"F").to_font()->desc().size, 8.1235);
}

TEST(PropertyStreamCodecTest, AKeyMetTwiceKeepsItsPlaceAndItsLastValue) {
  const Bytes bytes = Builder()
                          .header(3)
                          .text(u"A").u16(3).u32(1)
                          .text(u"B").u16(3).u32(2)
                          .text(u"A").u16(3).u32(3)
                          .b;
  MemoryPropertyBag bag;
  decode_property_stream(bytes, bag);
  ASSERT_EQ(bag.entries().size(), 2u);
  EXPECT_EQ(bag.entries()[0].first, u"A");
  EXPECT_EQ(bag.get(u"A").to_long(), 3);
  EXPECT_EQ(bag.get(u"B").to_long(), 2);
}

TEST(PropertyStreamCodecTest, BagsTheFormatCannotHoldAreRefusedBeforeAnyByte) {
  struct Case {
    const char* what;
    Variant value;
    int32_t error;  // a runtime error, or 0 for a PropertyStreamError
  };
  const Case cases[] = {
      {"picture of a bare handle", Variant(std::make_shared<Picture>(Picture{PictureType::kIcon, 1, 2, 3})),
       kErrInvalidPropertyValue},
      {"huge font", Variant(make_font(FontDesc{u"A", 1e12})), 0},
      {"infinite font size",
       Variant(make_font(FontDesc{u"A", std::numeric_limits<double>::infinity()})), 0},
      {"NaN font size", Variant(make_font(FontDesc{u"A", std::nan("")})), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryPropertyBag bag;
    bag.put(u"First", Variant(u"kept out"));
    bag.put(u"Bad", c.value);
    Bytes out;
    VectorSink sink(out);
    bool stream_error = false;
    int32_t error = error_of([&] {
      try {
        encode_property_stream(bag, sink);
      } catch (const PropertyStreamError&) {
        stream_error = true;
      }
    });
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(stream_error, c.error == 0);
    EXPECT_TRUE(out.empty());
  }
}

TEST(PropertyStreamCodecTest, ManyDistinctKeysLoadInOrder) {
  // The largest property set a probe sent; correctness only, timing is the
  // benchmark's business.
  const uint32_t n = 65536;
  Builder b;
  b.header(n);
  for (uint32_t i = 0; i < n; ++i) {
    std::u16string key = u"Key";
    key += utf16(std::to_string(i));
    b.text(key).u16(3).u32(i);
  }
  MemoryPropertyBag bag;
  decode_property_stream(b.b, bag);
  ASSERT_EQ(bag.entries().size(), n);
  EXPECT_EQ(bag.entries()[n - 1].first, u"Key65535");
  EXPECT_EQ(bag.get(u"Key40000").to_long(), 40000);
  EXPECT_EQ(encode_property_stream(bag), b.b);
}

TEST(PropertyStreamCodecTest, PicturesRoundTripByteForByteAndKeepNothingApart) {
  struct Case {
    const char* what;
    Variant value;
  };
  const Case cases[] = {
      {"bitmap", Variant(decode_picture(test::tiny_bitmap()))},
      {"icon", Variant(decode_picture(test::tiny_icon()))},
      {"empty picture object", Variant(make_empty_picture())},
      {"nothing", Variant::nothing()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryPropertyBag bag;
    bag.put(u"Before", Variant(int32_t(1)));
    bag.put(u"Pic", c.value);
    bag.put(u"After", Variant(u"x"));
    const Bytes bytes = encode_property_stream(bag);
    MemoryPropertyBag back;
    ASSERT_EQ(decode_property_stream(bytes, back), bytes.size());
    EXPECT_EQ(back.get(u"After").to_text(), u"x") << "the record after a picture reads in place";
    const Variant v = back.get(u"Pic");
    ASSERT_TRUE(v.is_object());
    PictureRef in = c.value.to_picture(), out = v.to_picture();
    ASSERT_EQ(bool(in), bool(out)) << "nothing stays nothing, an empty picture stays a picture";
    if (in) {
      EXPECT_EQ(out->type, in->type);
      EXPECT_EQ(out->data, in->data);
      EXPECT_EQ(out->width, in->width);
      EXPECT_EQ(out->height, in->height);
    }
    EXPECT_EQ(encode_property_stream(back), bytes);
  }
}

TEST(PropertyStreamCodecTest, APictureRecordHasItsLayout) {
  MemoryPropertyBag bag;
  bag.put(u"P", Variant(decode_picture(test::tiny_bitmap())));
  bag.put(u"E", Variant(make_empty_picture()));
  const Bytes file = test::tiny_bitmap();
  Builder expected;
  expected.header(2).text(u"P").u16(9).raw({2}).u16(1).u32(53).u32(53).u32(uint32_t(file.size()));
  expected.b.insert(expected.b.end(), file.begin(), file.end());
  expected.text(u"E").u16(9).raw({2}).u16(0).u32(0).u32(0).u32(0);
  EXPECT_EQ(encode_property_stream(bag), expected.b);
}

TEST(PropertyStreamCodecTest, DamagedPictureRecordsAreRefused) {
  using F = PropertyStreamFault;
  auto record = [](uint16_t type, uint32_t w, uint32_t n) {
    return Builder().header(1).text(u"P").u16(9).raw({2}).u16(type).u32(w).u32(w).u32(n);
  };
  const struct {
    const char* what;
    Bytes bytes;
    F fault;
  } cases[] = {
      {"type 2", record(2, 1, 1).raw({0}).b, F::kMalformed},
      {"type -1", record(0xFFFF, 1, 1).raw({0}).b, F::kMalformed},
      {"empty picture with data", record(0, 0, 1).raw({0}).b, F::kMalformed},
      {"empty picture with a size", record(0, 5, 0).b, F::kMalformed},
      {"bitmap without data", record(1, 5, 0).b, F::kMalformed},
      {"data longer than allowed", record(1, 5, kMaxPropertyStreamPicture + 1).b, F::kMalformed},
      {"data claimed, not present", record(3, 5, 0x10000000u).raw({1, 2, 3}).b, F::kTruncated},
      {"type cut short", Builder().header(1).text(u"P").u16(9).raw({2, 1}).b, F::kTruncated},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryPropertyBag bag;
    try {
      decode_property_stream(c.bytes, bag);
      ADD_FAILURE() << "accepted";
    } catch (const PropertyStreamError& e) {
      EXPECT_EQ(e.fault(), c.fault);
    }
    EXPECT_FALSE(bag.contains(u"P"));
  }
}

}  // namespace
}  // namespace qs
