// Picture objects: the values behind the picture properties.
//
// A picture is a reference object (PictureRef, shared between holders). Two
// kinds of "no picture" exist and are kept apart everywhere, persistence
// included: a null PictureRef is "nothing" (no object at all), while a
// picture of type kNone is an empty picture object (what loading a picture
// from an empty path gives).
//
// A picture keeps what is needed to save it again byte for byte: its type,
// its size and its persisted data, the picture file it was made from (the
// BMP file of a bitmap, the ICO file of an icon). The platform adds a handle
// valid for painting and may keep its own picture object alive with it
// (`native`). decode_picture() reads BMP and ICO files in software for the
// headless platform and for checking; it refuses malformed data with 481 and
// never reads outside the bytes it is given.
//
// How controls use it: an empty picture object is
// `platform.load_picture(u"")`; a picture property holds a PictureRef; the
// property store reads and writes the PictureRef as a Variant object.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace qs {

// The platform's picture types (the numbers are its PICTYPE codes).
enum class PictureType : int16_t { kNone = 0, kBitmap = 1, kIcon = 3 };

// What a platform keeps alive with a picture (its own picture object).
class PictureNative {
 public:
  virtual ~PictureNative() = default;
};

// HIMETRIC (1/100 mm) of a pixel count at the screen's 96 pixels per inch,
// rounded as the platform's pictures round it.
int32_t himetric_from_pixels(int32_t pixels);

struct Picture {
  PictureType type = PictureType::kNone;
  // The platform's handle (HBITMAP or HICON on Windows; 0 on the headless
  // platform and for an empty picture). Valid while the picture lives.
  intptr_t handle = 0;
  // Size in HIMETRIC, as the platform's picture object reports it.
  int32_t width = 0;
  int32_t height = 0;
  // Size in pixels.
  int32_t pixel_width = 0;
  int32_t pixel_height = 0;
  // The picture file this picture saves as; empty for an empty picture.
  std::vector<uint8_t> data = {};
  // Decoded image, top row first, 0xAARRGGBB (alpha 0 where an icon's mask
  // makes a pixel transparent, else 0xFF unless the image has alpha). Filled
  // by decode_picture(); the Windows platform leaves it empty.
  std::vector<uint32_t> pixels = {};
  // The platform's own object for this picture, kept alive with it.
  std::shared_ptr<PictureNative> native = {};

  bool empty() const { return type == PictureType::kNone; }
  // The same picture: same type and size and the same data (pictures
  // without data, made from a bare handle, compare by handle).
  bool operator==(const Picture& other) const;
};
using PictureRef = std::shared_ptr<Picture>;

// A new empty picture object (type none).
PictureRef make_empty_picture();

// Decodes a picture file: a BMP file (uncompressed 1, 4, 8, 16, 24 or 32 bits
// per pixel, or 16 and 32 bits with bit-field masks) or an ICO file (the
// image nearest 32 x 32 pixels, then the one with most colours; images in
// DIB form). Empty data gives an empty picture object. Anything else,
// compressed bitmaps and PNG icon images included, fails with RuntimeError
// 481; images over kMaxPicturePixels pixels too.
PictureRef decode_picture(std::span<const uint8_t> data);

inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 24;

}  // namespace qs
