// The picture decoder on any bytes: it refuses them with 481 or gives a
// picture whose pixels match its size and that keeps the bytes as its data.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <span>

#include "core/picture.h"
#include "core/runtime_error.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qs;
  const std::span<const uint8_t> bytes(data, size);
  PictureRef p;
  try {
    p = decode_picture(bytes);
  } catch (const RuntimeError& e) {
    QS_FUZZ_CHECK(e.number() == kErrInvalidPicture);
    return 0;
  }
  QS_FUZZ_CHECK(p != nullptr);
  if (size == 0) {
    QS_FUZZ_CHECK(p->empty());
    return 0;
  }
  QS_FUZZ_CHECK(p->type == PictureType::kBitmap || p->type == PictureType::kIcon);
  QS_FUZZ_CHECK(p->pixel_width > 0 && p->pixel_height > 0);
  QS_FUZZ_CHECK(p->pixels.size() == size_t(p->pixel_width) * size_t(p->pixel_height));
  QS_FUZZ_CHECK(p->width == himetric_from_pixels(p->pixel_width));
  QS_FUZZ_CHECK(p->data.size() == size && std::equal(p->data.begin(), p->data.end(), data));
  return 0;
}
