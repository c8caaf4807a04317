#include "property_stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "error_info.h"

namespace qs::activex {
namespace {

constexpr char kMagic[4] = {'Q', 'S', 'P', 'S'};
// A corrupt stream must not ask for absurd allocations: records are capped,
// and texts are read in chunks so memory grows only with data really there.
constexpr uint32_t kMaxRecords = 65536;
constexpr uint32_t kTextChunk = 1u << 20;

enum ObjectKind : uint8_t { kNoObject = 0, kFontObject = 1 };

class Writer {
 public:
  explicit Writer(IStream* s) : s_(s) {}
  void bytes(const void* p, ULONG n) {
    ULONG written = 0;
    HRESULT hr = s_->Write(p, n, &written);
    if (FAILED(hr)) throw ComFailure{hr};
    if (written != n) throw ComFailure{STG_E_MEDIUMFULL};
  }
  template <class T>
  void value(T v) { bytes(&v, sizeof v); }
  void text(const std::u16string& t) {
    value(uint32_t(t.size()));
    bytes(t.data(), ULONG(t.size() * sizeof(char16_t)));
  }

 private:
  IStream* s_;
};

class Reader {
 public:
  explicit Reader(IStream* s) : s_(s) {}
  void bytes(void* p, ULONG n) {
    ULONG read = 0;
    HRESULT hr = s_->Read(p, n, &read);
    if (FAILED(hr)) throw ComFailure{hr};
    if (read != n) throw ComFailure{E_FAIL};
  }
  template <class T>
  T value() {
    T v{};
    bytes(&v, sizeof v);
    return v;
  }
  std::u16string text() {
    const uint32_t n = value<uint32_t>();
    if (n > 0x3FFFFFFFu) throw ComFailure{E_FAIL};
    std::u16string t;
    while (t.size() < n) {
      const size_t done = t.size();
      const size_t part = std::min<size_t>(n - done, kTextChunk);
      t.resize(done + part);
      bytes(t.data() + done, ULONG(part * sizeof(char16_t)));
    }
    return t;
  }

 private:
  IStream* s_;
};

void write_value(Writer& w, const Variant& v) {
  w.value(uint16_t(v.type()));
  switch (v.type()) {
    case VarType::kEmpty:
    case VarType::kNull:
    case VarType::kError: return;
    case VarType::kInteger: w.value(v.to_integer()); return;
    case VarType::kBoolean: w.value(int16_t(v.to_boolean() ? -1 : 0)); return;
    case VarType::kLong: w.value(v.to_long()); return;
    case VarType::kSingle: w.value(v.to_single()); return;
    case VarType::kDouble: w.value(v.to_double()); return;
    case VarType::kString: w.text(v.string_value()); return;
    case VarType::kObject: {
      if (FontRef font = v.to_font()) {
        const FontDesc& d = font->desc();
        w.value(uint8_t(kFontObject));
        w.text(d.name);
        w.value(int64_t(std::llround(d.size * 10000.0)));
        w.value(d.weight);
        w.value(d.charset);
        w.value(uint8_t(d.italic));
        w.value(uint8_t(d.underline));
        w.value(uint8_t(d.strikethrough));
        return;
      }
      if (v.to_picture()) throw RuntimeError(kErrInvalidPropertyValue);
      w.value(uint8_t(kNoObject));
      return;
    }
  }
  throw ComFailure{E_UNEXPECTED};
}

Variant read_value(Reader& r) {
  switch (VarType(r.value<uint16_t>())) {
    case VarType::kEmpty: return Variant();
    case VarType::kNull: return Variant::null();
    case VarType::kError: return Variant::missing();
    case VarType::kInteger: return Variant(r.value<int16_t>());
    case VarType::kBoolean: return Variant(r.value<int16_t>() != 0);
    case VarType::kLong: return Variant(r.value<int32_t>());
    case VarType::kSingle: return Variant(r.value<float>());
    case VarType::kDouble: return Variant(r.value<double>());
    case VarType::kString: return Variant(r.text());
    case VarType::kObject: {
      uint8_t kind = r.value<uint8_t>();
      if (kind == kNoObject) return Variant::nothing();
      if (kind != kFontObject) throw ComFailure{E_FAIL};
      FontDesc d;
      d.name = r.text();
      d.size = double(r.value<int64_t>()) / 10000.0;
      d.weight = r.value<int16_t>();
      d.charset = r.value<int16_t>();
      d.italic = r.value<uint8_t>() != 0;
      d.underline = r.value<uint8_t>() != 0;
      d.strikethrough = r.value<uint8_t>() != 0;
      return Variant(make_font(std::move(d)));
    }
  }
  throw ComFailure{E_FAIL};
}

}  // namespace

void write_property_stream(const MemoryPropertyBag& bag, IStream* stream) {
  Writer w(stream);
  w.bytes(kMagic, 4);
  w.value(kPropertyStreamVersion);
  w.value(uint16_t(0));
  w.value(uint32_t(bag.entries().size()));
  for (const auto& [key, value] : bag.entries()) {
    w.text(key);
    write_value(w, value);
  }
}

void read_property_stream(IStream* stream, MemoryPropertyBag& bag) {
  Reader r(stream);
  char magic[4];
  r.bytes(magic, 4);
  if (std::memcmp(magic, kMagic, 4) != 0) throw ComFailure{E_FAIL};
  if (r.value<uint16_t>() != kPropertyStreamVersion) throw ComFailure{STG_E_OLDFORMAT};
  r.value<uint16_t>();
  uint32_t count = r.value<uint32_t>();
  if (count > kMaxRecords) throw ComFailure{E_FAIL};
  for (uint32_t i = 0; i < count; ++i) {
    std::u16string key = r.text();
    bag.put(key, read_value(r));
  }
}

}  // namespace qs::activex
