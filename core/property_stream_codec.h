// The property-stream format: a control's property set as bytes, holding the
// same keys and values a property bag gets. The server stores it in the
// host's streams and storages; this codec knows only bytes.
//
// Layout, little-endian: the magic "QSPS", a 16-bit format version (1), a
// 16-bit reserved 0, a 32-bit record count, then per record the key (a text)
// and a typed value: a 16-bit kind (the library's VarType) followed by its
// payload. A text is a 32-bit length in UTF-16 units and the units.
//
//   Empty, Null, missing   no payload
//   Integer, Boolean       16-bit signed (a Boolean is -1 or 0)
//   Long                   32-bit signed
//   Single, Double         IEEE 754, 32 and 64 bits
//   String                 a text
//   Object                 8-bit 0 (no object), or 1 and a font: its name
//                          (a text), its size in 1/10000 points (64-bit
//                          signed), weight and charset (16-bit), then italic,
//                          underline and strikethrough (8-bit, 0 or 1),
//                          or 2 and a picture: its type (16-bit, 0 none,
//                          1 bitmap, 3 icon), width and height in HIMETRIC
//                          (32-bit signed) and its data (a 32-bit byte count
//                          and the picture file: none for an empty picture
//                          object, at least one byte for a bitmap or icon)
//
// Version 1 streams written before pictures were streamed hold no kind 2
// and read as before.
//
// Limits, checked on reading and on writing so that whatever is written can
// be read back: at most kMaxPropertyStreamRecords records, texts of at most
// kMaxPropertyStreamText units, font sizes of at most kMaxPropertyStreamFontUnits
// 1/10000 points either way (a size read back is exactly the size written;
// a size between two 1/10000 points is written as the nearer), picture data
// of at most kMaxPropertyStreamPicture bytes. A text or picture is read in
// chunks, so memory grows only with the data really present, never with the
// length a stream claims.
//
// A picture read back holds its type, size and data only: no handle and no
// decoded pixels. The reader makes the platform's picture from the data
// (Platform::picture_from_data), which is where bad picture data is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "core/property_bag.h"

namespace qs {

inline constexpr uint16_t kPropertyStreamVersion = 1;
// Records of one stream: far above any control's property count, low enough
// that a hostile count cannot make a load run for long.
inline constexpr uint32_t kMaxPropertyStreamRecords = 1u << 20;
// Units of one text: its byte length fits a 32-bit count.
inline constexpr uint32_t kMaxPropertyStreamText = 0x3FFFFFFFu;
// 1/10000 points of a font size (2^53, some 9 * 10^11 points): up to it a
// count and the size it stands for convert to each other exactly.
inline constexpr int64_t kMaxPropertyStreamFontUnits = int64_t{1} << 53;
// Bytes of one picture's data: the byte bound of a text.
inline constexpr uint32_t kMaxPropertyStreamPicture = kMaxPropertyStreamText * 2;

// What is wrong with a stream, or with a bag that cannot be written as one.
enum class PropertyStreamFault {
  kTruncated,       // the data ends inside the property set
  kMalformed,       // not the magic, an unknown kind, a text or size out of bounds
  kUnknownVersion,  // a format version this codec does not read
  kTooManyRecords,  // more than kMaxPropertyStreamRecords records
};

class PropertyStreamError : public std::runtime_error {
 public:
  explicit PropertyStreamError(PropertyStreamFault fault);
  PropertyStreamFault fault() const { return fault_; }

 private:
  PropertyStreamFault fault_;
};

// Where decoding reads from. read() copies up to n bytes and returns how
// many; fewer than n only where the data ends. A source may throw its own
// failure, which decoding passes on.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual size_t read(void* out, size_t n) = 0;
};

// Where encoding writes to. write() takes all n bytes or throws.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void write(const void* data, size_t n) = 0;
};

// A source over bytes in memory.
class SpanSource : public ByteSource {
 public:
  explicit SpanSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  size_t read(void* out, size_t n) override;
  // Bytes read so far.
  size_t consumed() const { return at_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

// A sink appending to a byte vector.
class VectorSink : public ByteSink {
 public:
  explicit VectorSink(std::vector<uint8_t>& out) : out_(out) {}
  void write(const void* data, size_t n) override;

 private:
  std::vector<uint8_t>& out_;
};

// Writes every entry of the bag, in order. A bitmap or icon without data (a
// bare handle, which cannot be saved) fails with RuntimeError 380; a bag
// beyond the limits fails with PropertyStreamError. Nothing is written
// before the bag is checked.
void encode_property_stream(const MemoryPropertyBag& bag, ByteSink& sink);
std::vector<uint8_t> encode_property_stream(const MemoryPropertyBag& bag);

// Reads one property set from the source into the bag, reading no byte past
// its end; a key met twice keeps its first place and its last value. Fails
// with PropertyStreamError; the bag then holds the records read before.
void decode_property_stream(ByteSource& source, MemoryPropertyBag& bag);
// The same from bytes in memory; returns the bytes the property set took
// (any after it are left alone).
size_t decode_property_stream(std::span<const uint8_t> bytes, MemoryPropertyBag& bag);

}  // namespace qs
