// Small BMP and ICO files made in memory, for picture tests on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qs::test {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
inline void put32(Bytes& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

// A 40-byte info header.
inline void put_info_header(Bytes& b, int32_t w, int32_t h, int bpp, uint32_t colours) {
  put32(b, 40);
  put32(b, uint32_t(w));
  put32(b, uint32_t(h));
  put16(b, 1);
  put16(b, uint32_t(bpp));
  put32(b, 0);  // uncompressed
  put32(b, 0);
  put32(b, 2835);
  put32(b, 2835);
  put32(b, colours);
  put32(b, 0);
}

// Image rows bottom-up (top-down when top_down), each padded to 4 bytes.
// pixels are top row first: palette indexes up to 8 bits per pixel, else
// 0xAARRGGBB (the alpha byte written only at 32 bits).
inline Bytes dib_rows(int w, int h, int bpp, const std::vector<uint32_t>& pixels, bool top_down) {
  const size_t stride = (size_t(w) * bpp + 31) / 32 * 4;
  Bytes out(stride * h, 0);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = out.data() + stride * (top_down ? y : h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const uint32_t v = pixels[size_t(y) * w + x];
      switch (bpp) {
        case 1: case 4: case 8: {
          const size_t bit = size_t(x) * bpp;
          row[bit / 8] |= uint8_t(v << (8 - bpp - bit % 8));
          break;
        }
        case 16:  // 5-5-5
          row[2 * x] = uint8_t(v);
          row[2 * x + 1] = uint8_t(v >> 8);
          break;
        case 24:
          row[3 * x] = uint8_t(v), row[3 * x + 1] = uint8_t(v >> 8), row[3 * x + 2] = uint8_t(v >> 16);
          break;
        case 32:
          for (int i = 0; i < 4; ++i) row[4 * x + i] = uint8_t(v >> (8 * i));
          break;
      }
    }
  }
  return out;
}

// A BMP file; the palette holds 0x00RRGGBB colours.
inline Bytes bmp_file(int w, int h, int bpp, const std::vector<uint32_t>& pixels,
                      const std::vector<uint32_t>& palette = {}, bool top_down = false) {
  const Bytes rows = dib_rows(w, h, bpp, pixels, top_down);
  const uint32_t bits_at = 14 + 40 + 4 * uint32_t(palette.size());
  Bytes b = {'B', 'M'};
  put32(b, bits_at + uint32_t(rows.size()));
  put32(b, 0);
  put32(b, bits_at);
  put_info_header(b, w, top_down ? -h : h, bpp, uint32_t(palette.size()));
  for (uint32_t c : palette) put32(b, c & 0xFFFFFF);
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

struct IconImage {
  int w = 0, h = 0, bpp = 0;
  std::vector<uint32_t> pixels;   // as for dib_rows
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  std::vector<bool> mask;         // top row first; true is transparent; empty: all opaque
};

// An ICO file holding the images in order.
inline Bytes ico_file(const std::vector<IconImage>& images) {
  std::vector<Bytes> bodies;
  for (const IconImage& im : images) {
    Bytes body;
    put_info_header(body, im.w, 2 * im.h, im.bpp, uint32_t(im.palette.size()));
    for (uint32_t c : im.palette) put32(body, c & 0xFFFFFF);
    const Bytes rows = dib_rows(im.w, im.h, im.bpp, im.pixels, false);
    body.insert(body.end(), rows.begin(), rows.end());
    std::vector<uint32_t> mask_bits(size_t(im.w) * im.h, 0);
    for (size_t i = 0; i < im.mask.size(); ++i) mask_bits[i] = im.mask[i] ? 1 : 0;
    const Bytes mask = dib_rows(im.w, im.h, 1, mask_bits, false);
    body.insert(body.end(), mask.begin(), mask.end());
    bodies.push_back(std::move(body));
  }
  Bytes b;
  put16(b, 0);
  put16(b, 1);
  put16(b, uint32_t(images.size()));
  uint32_t at = 6 + 16 * uint32_t(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const IconImage& im = images[i];
    b.push_back(uint8_t(im.w));
    b.push_back(uint8_t(im.h));
    b.push_back(uint8_t(im.bpp <= 8 ? (im.palette.size() & 0xFF) : 0));
    b.push_back(0);
    put16(b, 1);
    put16(b, uint32_t(im.bpp));
    put32(b, uint32_t(bodies[i].size()));
    put32(b, at);
    at += uint32_t(bodies[i].size());
  }
  for (const Bytes& body : bodies) b.insert(b.end(), body.begin(), body.end());
  return b;
}

// A 2 x 2 bitmap at 24 bits: red, green / blue, white.
inline Bytes tiny_bitmap() {
  return bmp_file(2, 2, 24, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
}

// A 16 x 16 icon at 4 bits with its left column transparent.
inline Bytes tiny_icon() {
  IconImage im{16, 16, 4, std::vector<uint32_t>(256, 1), std::vector<uint32_t>(16, 0),
               std::vector<bool>(256)};
  im.palette[1] = 0x00FF00;
  for (int y = 0; y < 16; ++y) im.mask[size_t(y) * 16] = true;
  return ico_file({im});
}

}  // namespace qs::test
