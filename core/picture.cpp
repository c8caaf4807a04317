#include "core/picture.h"

#include <cstdlib>

#include "core/runtime_error.h"

namespace qs {
namespace {

[[noreturn]] void invalid() { throw RuntimeError(kErrInvalidPicture); }

// Little-endian reads that refuse to look outside the bytes.
uint32_t u8_at(std::span<const uint8_t> d, uint64_t at) {
  if (at >= d.size()) invalid();
  return d[size_t(at)];
}
uint32_t u16_at(std::span<const uint8_t> d, uint64_t at) {
  if (at + 2 > d.size()) invalid();
  return uint32_t(d[size_t(at)]) | uint32_t(d[size_t(at) + 1]) << 8;
}
uint32_t u32_at(std::span<const uint8_t> d, uint64_t at) {
  if (at + 4 > d.size()) invalid();
  return u16_at(d, at) | u16_at(d, at + 2) << 16;
}

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

// One colour channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (!mask) return;
    while (!((mask >> shift) & 1)) ++shift;
    max = mask >> shift;
  }
  uint32_t of(uint32_t v) const {
    if (!max) return 0;
    return uint32_t((uint64_t((v & mask) >> shift) * 255 + max / 2) / max);
  }
};

// A device-independent bitmap header and its colour table.
struct Dib {
  int64_t width = 0;
  int64_t height = 0;  // rows of the image (an icon's mask rows excluded)
  bool top_down = false;
  uint32_t bits_per_pixel = 0;
  uint32_t compression = kBiRgb;
  uint32_t masks[3] = {0, 0, 0};
  std::vector<uint32_t> palette;  // 0xAARRGGBB, opaque
  uint64_t table_end = 0;         // bytes from the header's start to past the colour table
};

// Reads a DIB header at the start of d. An icon image stores twice its
// height (image and mask) and is always bottom-up.
Dib read_dib_header(std::span<const uint8_t> d, bool icon) {
  Dib dib;
  const uint32_t header = u32_at(d, 0);
  if (header != 40 && header != 52 && header != 56 && header != 108 && header != 124) invalid();
  if (header > d.size()) invalid();
  dib.width = int32_t(u32_at(d, 4));
  int64_t height = int32_t(u32_at(d, 8));
  if (u16_at(d, 12) != 1) invalid();  // planes
  dib.bits_per_pixel = u16_at(d, 14);
  dib.compression = u32_at(d, 16);
  const uint32_t colours_used = u32_at(d, 32);
  if (icon) {
    if (height <= 0) invalid();
    height /= 2;
  }
  dib.top_down = height < 0;
  dib.height = std::llabs(height);
  if (dib.width <= 0 || dib.height <= 0 || dib.width * dib.height > kMaxPicturePixels) invalid();
  switch (dib.bits_per_pixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: invalid();
  }
  uint64_t table = header;
  if (dib.compression == kBiBitfields) {
    if (dib.bits_per_pixel != 16 && dib.bits_per_pixel != 32) invalid();
    // A plain info header is followed by the three masks; later headers hold them.
    const uint64_t at = 40;
    for (int i = 0; i < 3; ++i) dib.masks[i] = u32_at(d, at + 4 * i);
    if (header == 40) table += 12;
  } else if (dib.compression == kBiRgb) {
    if (dib.bits_per_pixel == 16) {
      dib.masks[0] = 0x7C00, dib.masks[1] = 0x03E0, dib.masks[2] = 0x001F;
    } else if (dib.bits_per_pixel == 32) {
      dib.masks[0] = 0xFF0000, dib.masks[1] = 0xFF00, dib.masks[2] = 0xFF;
    }
  } else {
    invalid();  // run-length and embedded JPEG/PNG bitmaps are not read here
  }
  if (colours_used > 256) invalid();
  uint32_t entries = colours_used;
  if (dib.bits_per_pixel <= 8 && entries == 0) entries = 1u << dib.bits_per_pixel;
  if (table + uint64_t(entries) * 4 > d.size()) invalid();
  if (dib.bits_per_pixel <= 8) {
    dib.palette.resize(entries);
    for (uint32_t i = 0; i < entries; ++i) {
      const uint64_t at = table + 4 * uint64_t(i);
      dib.palette[i] = 0xFF000000u | u8_at(d, at + 2) << 16 | u8_at(d, at + 1) << 8 | u8_at(d, at);
    }
  }
  dib.table_end = table + uint64_t(entries) * 4;
  return dib;
}

uint64_t row_bytes(int64_t width, uint32_t bits_per_pixel) {
  return (uint64_t(width) * bits_per_pixel + 31) / 32 * 4;
}

// Decodes the image rows in bits into top-down 0xAARRGGBB pixels.
// keep_alpha takes a 32-bit image's fourth byte as its alpha.
std::vector<uint32_t> decode_rows(const Dib& dib, std::span<const uint8_t> bits, bool keep_alpha) {
  const uint64_t stride = row_bytes(dib.width, dib.bits_per_pixel);
  if (stride * uint64_t(dib.height) > bits.size()) invalid();
  const Channel red(dib.masks[0]), green(dib.masks[1]), blue(dib.masks[2]);
  std::vector<uint32_t> out(size_t(dib.width * dib.height));
  for (int64_t y = 0; y < dib.height; ++y) {
    const int64_t source_row = dib.top_down ? y : dib.height - 1 - y;
    const uint8_t* row = bits.data() + size_t(uint64_t(source_row) * stride);
    uint32_t* to = out.data() + size_t(y * dib.width);
    for (int64_t x = 0; x < dib.width; ++x) {
      uint32_t argb = 0xFF000000u;
      switch (dib.bits_per_pixel) {
        case 1: case 4: case 8: {
          const uint32_t bpp = dib.bits_per_pixel;
          const uint64_t bit = uint64_t(x) * bpp;
          const uint32_t index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
          // An index past the colour table paints black, as the platform does.
          argb = index < dib.palette.size() ? dib.palette[index] : 0xFF000000u;
          break;
        }
        case 16: {
          const uint32_t v = uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
          argb = 0xFF000000u | red.of(v) << 16 | green.of(v) << 8 | blue.of(v);
          break;
        }
        case 24: {
          const uint8_t* p = row + 3 * x;
          argb = 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
          break;
        }
        case 32: {
          const uint8_t* p = row + 4 * x;
          const uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                             uint32_t(p[3]) << 24;
          const uint32_t alpha = keep_alpha ? p[3] : 0xFFu;
          argb = alpha << 24 | red.of(v) << 16 | green.of(v) << 8 | blue.of(v);
          break;
        }
      }
      to[x] = argb;
    }
  }
  return out;
}

void set_size(Picture& p, int64_t width, int64_t height) {
  p.pixel_width = int32_t(width);
  p.pixel_height = int32_t(height);
  p.width = himetric_from_pixels(p.pixel_width);
  p.height = himetric_from_pixels(p.pixel_height);
}

PictureRef decode_bmp(std::span<const uint8_t> data) {
  const uint64_t bits_at = u32_at(data, 10);
  if (bits_at > data.size()) invalid();
  const Dib dib = read_dib_header(data.subspan(14), false);
  auto p = std::make_shared<Picture>();
  p->type = PictureType::kBitmap;
  p->pixels = decode_rows(dib, data.subspan(size_t(bits_at)), false);
  set_size(*p, dib.width, dib.height);
  return p;
}

bool is_png(std::span<const uint8_t> image) {
  static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (image.size() < sizeof kSignature) return false;
  for (size_t i = 0; i < sizeof kSignature; ++i)
    if (image[i] != kSignature[i]) return false;
  return true;
}

PictureRef decode_ico(std::span<const uint8_t> data) {
  if (u16_at(data, 0) != 0 || u16_at(data, 2) != 1) invalid();
  const uint32_t count = u16_at(data, 4);
  if (count == 0) invalid();
  // The image nearest 32 x 32, then the deepest; PNG images are passed over.
  std::span<const uint8_t> chosen;
  int64_t best_distance = 0;
  uint32_t best_depth = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t entry = 6 + 16 * uint64_t(i);
    const int64_t w = u8_at(data, entry) ? u8_at(data, entry) : 256;
    const int64_t h = u8_at(data, entry + 1) ? u8_at(data, entry + 1) : 256;
    const uint64_t bytes = u32_at(data, entry + 8);
    const uint64_t at = u32_at(data, entry + 12);
    if (at + bytes > data.size()) invalid();
    const std::span<const uint8_t> image = data.subspan(size_t(at), size_t(bytes));
    if (is_png(image)) continue;
    const uint32_t depth = u16_at(image, 14);
    const int64_t distance = std::llabs(w - 32) + std::llabs(h - 32);
    if (chosen.empty() || distance < best_distance ||
        (distance == best_distance && depth > best_depth)) {
      chosen = image;
      best_distance = distance;
      best_depth = depth;
    }
  }
  if (chosen.empty()) invalid();
  const Dib dib = read_dib_header(chosen, true);
  const std::span<const uint8_t> bits = chosen.subspan(size_t(dib.table_end));
  auto p = std::make_shared<Picture>();
  p->type = PictureType::kIcon;
  p->pixels = decode_rows(dib, bits, dib.bits_per_pixel == 32);
  bool has_alpha = false;
  if (dib.bits_per_pixel == 32)
    for (uint32_t px : p->pixels) has_alpha |= (px >> 24) != 0;
  // The mask follows the image: one bit a pixel, rows bottom-up; a set bit
  // is transparent. A 32-bit image with alpha may leave it out.
  const uint64_t image_bytes = row_bytes(dib.width, dib.bits_per_pixel) * uint64_t(dib.height);
  const uint64_t mask_stride = row_bytes(dib.width, 1);
  const bool mask_present = image_bytes + mask_stride * uint64_t(dib.height) <= bits.size();
  if (!mask_present && !has_alpha) invalid();
  if (!has_alpha) {
    const uint8_t* mask = bits.data() + size_t(image_bytes);
    for (int64_t y = 0; y < dib.height; ++y) {
      const uint8_t* row = mask + size_t(uint64_t(dib.height - 1 - y) * mask_stride);
      for (int64_t x = 0; x < dib.width; ++x) {
        uint32_t& px = p->pixels[size_t(y * dib.width + x)];
        const bool transparent = (row[x / 8] >> (7 - x % 8)) & 1;
        px = transparent ? 0u : (px | 0xFF000000u);
      }
    }
  }
  set_size(*p, dib.width, dib.height);
  return p;
}

}  // namespace

int32_t himetric_from_pixels(int32_t pixels) {
  // pixels * 2540 / 96, halves away from zero.
  const int64_t scaled = int64_t(pixels) * 2540;
  return int32_t(scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96));
}

bool Picture::operator==(const Picture& other) const {
  if (type != other.type || width != other.width || height != other.height ||
      data != other.data)
    return false;
  return !data.empty() || handle == other.handle;
}

PictureRef make_empty_picture() { return std::make_shared<Picture>(); }

PictureRef decode_picture(std::span<const uint8_t> data) {
  if (data.empty()) return make_empty_picture();
  PictureRef p;
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
    p = decode_bmp(data);
  } else if (data.size() >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0) {
    p = decode_ico(data);
  } else {
    invalid();
  }
  p->data.assign(data.begin(), data.end());
  return p;
}

}  // namespace qs
