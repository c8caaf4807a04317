#include "property_stream.h"

#include <algorithm>

#include "error_info.h"
#include "platform/win32/win32_picture.h"

namespace qs::activex {
namespace {

// Reads exactly what the codec asks for and no more: a container may keep
// other objects' data after ours in the same stream, and the next reader
// must find the stream where our property set ends.
class StreamSource : public ByteSource {
 public:
  explicit StreamSource(IStream* s) : s_(s) {}
  size_t read(void* out, size_t n) override {
    auto* p = static_cast<uint8_t*>(out);
    size_t done = 0;
    while (done < n) {
      const ULONG want = ULONG(std::min<size_t>(n - done, kMaxRead));
      ULONG got = 0;
      HRESULT hr = s_->Read(p + done, want, &got);
      if (FAILED(hr)) throw ComFailure{hr};
      done += got;
      if (got < want) break;
    }
    return done;
  }

 private:
  static constexpr size_t kMaxRead = 0x40000000u;
  IStream* s_;
};

class StreamSink : public ByteSink {
 public:
  explicit StreamSink(IStream* s) : s_(s) {}
  void write(const void* data, size_t n) override {
    const auto* p = static_cast<const uint8_t*>(data);
    while (n > 0) {
      const ULONG part = ULONG(std::min<size_t>(n, 0x40000000u));
      ULONG written = 0;
      HRESULT hr = s_->Write(p, part, &written);
      if (FAILED(hr)) throw ComFailure{hr};
      if (written != part) throw ComFailure{STG_E_MEDIUMFULL};
      p += part;
      n -= part;
    }
  }

 private:
  IStream* s_;
};

HRESULT hresult_of(const PropertyStreamError& e) {
  return e.fault() == PropertyStreamFault::kUnknownVersion ? STG_E_OLDFORMAT : E_FAIL;
}

}  // namespace

void write_property_stream(const MemoryPropertyBag& bag, IStream* stream) {
  StreamSink sink(stream);
  try {
    encode_property_stream(bag, sink);
  } catch (const PropertyStreamError& e) {
    throw ComFailure{hresult_of(e)};
  }
}

void read_property_stream(IStream* stream, MemoryPropertyBag& bag) {
  StreamSource source(stream);
  try {
    decode_property_stream(source, bag);
  } catch (const PropertyStreamError& e) {
    throw ComFailure{hresult_of(e)};
  }
  // Pictures come out of the codec as data: make the platform's pictures.
  std::vector<std::u16string> keys;
  for (const auto& [key, value] : bag.entries())
    if (value.is_object() && value.to_picture()) keys.push_back(key);
  for (const std::u16string& key : keys)
    bag.put(key, Variant(win32::load_ole_picture(bag.get(key).to_picture()->data)));
}

}  // namespace qs::activex
