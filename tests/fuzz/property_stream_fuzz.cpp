// The property-stream decoder on any bytes: it fails with its own error or
// gives a bag, and a bag it gives encodes and decodes again to the same
// entries and the same bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/property_stream_codec.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_values.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qs;
  MemoryPropertyBag bag;
  size_t used = 0;
  try {
    used = decode_property_stream(std::span<const uint8_t>(data, size), bag);
  } catch (const PropertyStreamError&) {
    return 0;
  }
  QS_FUZZ_CHECK(used <= size);

  const std::vector<uint8_t> encoded = encode_property_stream(bag);
  MemoryPropertyBag again;
  QS_FUZZ_CHECK(decode_property_stream(encoded, again) == encoded.size());
  QS_FUZZ_CHECK(fuzz::same_entries(bag, again));
  QS_FUZZ_CHECK(encode_property_stream(again) == encoded);
  return 0;
}
