#include "core/property_stream_codec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "core/runtime_error.h"

namespace qs {
namespace {

constexpr uint8_t kMagic[4] = {'Q', 'S', 'P', 'S'};
// A text's first chunk; each further chunk is as long as the text so far,
// up to kMaxChunk, so a text costs O(n) copies and at most twice the memory
// of the units really present.
constexpr size_t kFirstChunk = 4096;
constexpr size_t kMaxChunk = size_t{1} << 20;
constexpr double kFontSizeUnits = 10000.0;

enum ObjectKind : uint8_t { kNoObject = 0, kFontObject = 1, kPictureObject = 2 };

const char* fault_text(PropertyStreamFault fault) {
  switch (fault) {
    case PropertyStreamFault::kTruncated: return "property stream: the data ends early";
    case PropertyStreamFault::kMalformed: return "property stream: malformed data";
    case PropertyStreamFault::kUnknownVersion: return "property stream: unknown format version";
    case PropertyStreamFault::kTooManyRecords: return "property stream: too many records";
  }
  return "property stream";
}

[[noreturn]] void fail(PropertyStreamFault fault) { throw PropertyStreamError(fault); }

// UTF-16 units as little-endian bytes, in place.
void units_little_endian(char16_t* units, size_t n) {
  if constexpr (std::endian::native == std::endian::big) {
    for (size_t i = 0; i < n; ++i) units[i] = char16_t((units[i] >> 8) | (units[i] << 8));
  } else {
    (void)units;
    (void)n;
  }
}

class Writer {
 public:
  explicit Writer(ByteSink& sink) : sink_(sink) {}

  void bytes(const void* p, size_t n) { sink_.write(p, n); }
  template <class Unsigned>
  void le(Unsigned v) {
    uint8_t b[sizeof v];
    for (size_t i = 0; i < sizeof v; ++i) b[i] = uint8_t(v >> (8 * i));
    bytes(b, sizeof b);
  }
  void u8(uint8_t v) { bytes(&v, 1); }
  void i16(int16_t v) { le(uint16_t(v)); }
  void i32(int32_t v) { le(uint32_t(v)); }
  void i64(int64_t v) { le(uint64_t(v)); }
  void f32(float v) { le(std::bit_cast<uint32_t>(v)); }
  void f64(double v) { le(std::bit_cast<uint64_t>(v)); }
  void text(const std::u16string& t) {
    le(uint32_t(t.size()));
    if constexpr (std::endian::native == std::endian::little) {
      bytes(t.data(), t.size() * sizeof(char16_t));
    } else {
      std::u16string swapped = t;
      units_little_endian(swapped.data(), swapped.size());
      bytes(swapped.data(), swapped.size() * sizeof(char16_t));
    }
  }

 private:
  ByteSink& sink_;
};

class Reader {
 public:
  explicit Reader(ByteSource& source) : source_(source) {}

  void bytes(void* p, size_t n) {
    if (source_.read(p, n) != n) fail(PropertyStreamFault::kTruncated);
  }
  template <class Unsigned>
  Unsigned le() {
    uint8_t b[sizeof(Unsigned)];
    bytes(b, sizeof b);
    Unsigned v = 0;
    for (size_t i = 0; i < sizeof b; ++i) v = Unsigned(v | Unsigned(Unsigned(b[i]) << (8 * i)));
    return v;
  }
  uint8_t u8() { return le<uint8_t>(); }
  int16_t i16() { return int16_t(le<uint16_t>()); }
  int32_t i32() { return int32_t(le<uint32_t>()); }
  int64_t i64() { return int64_t(le<uint64_t>()); }
  float f32() { return std::bit_cast<float>(le<uint32_t>()); }
  double f64() { return std::bit_cast<double>(le<uint64_t>()); }
  std::u16string text() {
    const uint32_t n = le<uint32_t>();
    if (n > kMaxPropertyStreamText) fail(PropertyStreamFault::kMalformed);
    std::u16string t;
    while (t.size() < n) {
      const size_t done = t.size();
      const size_t part = std::min<size_t>(n - done, std::clamp(done, kFirstChunk, kMaxChunk));
      t.resize(done + part);
      bytes(t.data() + done, part * sizeof(char16_t));
      units_little_endian(t.data() + done, part);
    }
    return t;
  }
  // n bytes, read in growing chunks like a text.
  std::vector<uint8_t> blob(uint32_t n) {
    std::vector<uint8_t> b;
    while (b.size() < n) {
      const size_t done = b.size();
      const size_t part = std::min<size_t>(n - done, std::clamp(done, kFirstChunk, kMaxChunk));
      b.resize(done + part);
      bytes(b.data() + done, part);
    }
    return b;
  }

 private:
  ByteSource& source_;
};

// The count of 1/10000 points a font size is written as: the count that
// reads back as exactly this size where there is one (every size that was
// read has one), else the nearest.
int64_t font_size_units(double points) {
  const double scaled = points * kFontSizeUnits;
  if (!(std::fabs(scaled) <= double(kMaxPropertyStreamFontUnits)))
    fail(PropertyStreamFault::kMalformed);
  const int64_t nearest = std::llround(scaled);
  // Two roundings (on reading, and in scaled) stay within a few counts.
  for (int64_t step : {0, -1, 1, -2, 2, -3, 3}) {
    const int64_t units = nearest + step;
    if (std::llabs(units) <= kMaxPropertyStreamFontUnits && double(units) / kFontSizeUnits == points)
      return units;
  }
  return nearest;
}

void check_text(const std::u16string& t) {
  if (t.size() > kMaxPropertyStreamText) fail(PropertyStreamFault::kMalformed);
}

// Refuses, before anything is written, what could not be read back.
void check_value(const Variant& v) {
  if (v.is_string()) {
    check_text(v.string_value());
  } else if (v.is_object()) {
    if (FontRef font = v.to_font()) {
      check_text(font->desc().name);
      font_size_units(font->desc().size);
    } else if (PictureRef picture = v.to_picture()) {
      if (picture->type != PictureType::kNone &&
          (picture->data.empty() || picture->data.size() > kMaxPropertyStreamPicture))
        throw RuntimeError(kErrInvalidPropertyValue);
    }
  }
}

// Payloads are written as held, without conversion, so every value that was
// read (a NaN double included) can be written again.
void write_value(Writer& w, const Variant& v) {
  w.i16(int16_t(v.type()));
  switch (v.type()) {
    case VarType::kEmpty:
    case VarType::kNull:
    case VarType::kError: return;
    case VarType::kInteger: w.i16(int16_t(v.number_value())); return;
    case VarType::kBoolean: w.i16(v.number_value() != 0 ? -1 : 0); return;
    case VarType::kLong: w.i32(int32_t(v.number_value())); return;
    case VarType::kSingle: w.f32(float(v.number_value())); return;
    case VarType::kDouble: w.f64(v.number_value()); return;
    case VarType::kString: w.text(v.string_value()); return;
    case VarType::kObject: {
      FontRef font = v.to_font();
      if (PictureRef picture = v.to_picture()) {
        const bool empty = picture->type == PictureType::kNone;
        w.u8(kPictureObject);
        w.i16(int16_t(picture->type));
        w.i32(empty ? 0 : picture->width);
        w.i32(empty ? 0 : picture->height);
        w.le(uint32_t(empty ? 0 : picture->data.size()));
        if (!empty) w.bytes(picture->data.data(), picture->data.size());
        return;
      }
      if (!font) {
        w.u8(kNoObject);
        return;
      }
      const FontDesc& d = font->desc();
      w.u8(kFontObject);
      w.text(d.name);
      w.i64(font_size_units(d.size));
      w.i16(d.weight);
      w.i16(d.charset);
      w.u8(d.italic);
      w.u8(d.underline);
      w.u8(d.strikethrough);
      return;
    }
  }
  fail(PropertyStreamFault::kMalformed);
}

PictureRef read_picture(Reader& r) {
  auto p = std::make_shared<Picture>();
  const int16_t type = r.i16();
  if (type != int16_t(PictureType::kNone) && type != int16_t(PictureType::kBitmap) &&
      type != int16_t(PictureType::kIcon))
    fail(PropertyStreamFault::kMalformed);
  p->type = PictureType(type);
  p->width = r.i32();
  p->height = r.i32();
  const uint32_t n = r.le<uint32_t>();
  const bool empty = p->type == PictureType::kNone;
  if (n > kMaxPropertyStreamPicture || (empty && (n != 0 || p->width || p->height)) ||
      (!empty && n == 0))
    fail(PropertyStreamFault::kMalformed);
  p->data = r.blob(n);
  return p;
}

Variant read_value(Reader& r) {
  switch (VarType(r.le<uint16_t>())) {
    case VarType::kEmpty: return Variant();
    case VarType::kNull: return Variant::null();
    case VarType::kError: return Variant::missing();
    case VarType::kInteger: return Variant(r.i16());
    case VarType::kBoolean: return Variant(r.i16() != 0);
    case VarType::kLong: return Variant(r.i32());
    case VarType::kSingle: return Variant(r.f32());
    case VarType::kDouble: return Variant(r.f64());
    case VarType::kString: return Variant(r.text());
    case VarType::kObject: {
      const uint8_t kind = r.u8();
      if (kind == kNoObject) return Variant::nothing();
      if (kind == kPictureObject) return Variant(read_picture(r));
      if (kind != kFontObject) fail(PropertyStreamFault::kMalformed);
      FontDesc d;
      d.name = r.text();
      const int64_t units = r.i64();
      if (units < -kMaxPropertyStreamFontUnits || units > kMaxPropertyStreamFontUnits)
        fail(PropertyStreamFault::kMalformed);
      d.size = double(units) / kFontSizeUnits;
      d.weight = r.i16();
      d.charset = r.i16();
      d.italic = r.u8() != 0;
      d.underline = r.u8() != 0;
      d.strikethrough = r.u8() != 0;
      return Variant(make_font(std::move(d)));
    }
  }
  fail(PropertyStreamFault::kMalformed);
}

}  // namespace

PropertyStreamError::PropertyStreamError(PropertyStreamFault fault)
    : std::runtime_error(fault_text(fault)), fault_(fault) {}

size_t SpanSource::read(void* out, size_t n) {
  const size_t take = std::min(n, bytes_.size() - at_);
  if (take) std::memcpy(out, bytes_.data() + at_, take);
  at_ += take;
  return take;
}

void VectorSink::write(const void* data, size_t n) {
  const auto* p = static_cast<const uint8_t*>(data);
  out_.insert(out_.end(), p, p + n);
}

void encode_property_stream(const MemoryPropertyBag& bag, ByteSink& sink) {
  if (bag.entries().size() > kMaxPropertyStreamRecords) fail(PropertyStreamFault::kTooManyRecords);
  for (const auto& [key, value] : bag.entries()) {
    check_text(key);
    check_value(value);
  }
  Writer w(sink);
  w.bytes(kMagic, sizeof kMagic);
  w.le(kPropertyStreamVersion);
  w.le(uint16_t{0});
  w.le(uint32_t(bag.entries().size()));
  for (const auto& [key, value] : bag.entries()) {
    w.text(key);
    write_value(w, value);
  }
}

std::vector<uint8_t> encode_property_stream(const MemoryPropertyBag& bag) {
  std::vector<uint8_t> out;
  VectorSink sink(out);
  encode_property_stream(bag, sink);
  return out;
}

void decode_property_stream(ByteSource& source, MemoryPropertyBag& bag) {
  Reader r(source);
  uint8_t magic[sizeof kMagic];
  r.bytes(magic, sizeof magic);
  if (std::memcmp(magic, kMagic, sizeof kMagic) != 0) fail(PropertyStreamFault::kMalformed);
  if (r.le<uint16_t>() != kPropertyStreamVersion) fail(PropertyStreamFault::kUnknownVersion);
  r.le<uint16_t>();  // reserved
  const uint32_t count = r.le<uint32_t>();
  if (count > kMaxPropertyStreamRecords) fail(PropertyStreamFault::kTooManyRecords);
  for (uint32_t i = 0; i < count; ++i) {
    std::u16string key = r.text();
    bag.emplace(std::move(key), read_value(r));
  }
}

size_t decode_property_stream(std::span<const uint8_t> bytes, MemoryPropertyBag& bag) {
  SpanSource source(bytes);
  decode_property_stream(source, bag);
  return source.consumed();
}

}  // namespace qs
