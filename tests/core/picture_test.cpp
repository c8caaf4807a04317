// Picture values: decoding BMP and ICO files in software, their sizes and
// pixels, and the refusal of malformed or hostile data.
#include "core/picture.h"

#include <gtest/gtest.h>

#include <string>

#include "core/runtime_error.h"
#include "tests/support/error_of.h"
#include "tests/support/picture_files.h"

namespace qs {
namespace {

using test::Bytes;
using test::error_of;

TEST(PictureTest, HimetricFollowsTheScreenResolution) {
  const struct { int32_t pixels, himetric; } cases[] = {
      {0, 0}, {1, 26}, {8, 212}, {16, 423}, {32, 847}, {96, 2540}, {-16, -423},
  };
  for (const auto& c : cases) EXPECT_EQ(himetric_from_pixels(c.pixels), c.himetric) << c.pixels;
}

TEST(PictureTest, BitmapsOfEveryDepthDecodeToTheirPixels) {
  // Three columns, two rows: the middle column differs per case.
  const std::vector<uint32_t> palette2 = {0x000000, 0xFFFFFF};
  std::vector<uint32_t> palette16(16, 0);
  palette16[5] = 0x123456;
  palette16[15] = 0xABCDEF;
  std::vector<uint32_t> palette256(256, 0);
  palette256[200] = 0x102030;
  palette256[7] = 0xF0E0D0;
  struct Case {
    const char* what;
    Bytes file;
    std::vector<uint32_t> expected;  // 0xAARRGGBB, top row first
  };
  const Case cases[] = {
      {"1 bit", test::bmp_file(3, 2, 1, {1, 0, 1, 0, 1, 0}, palette2),
       {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000}},
      {"4 bits", test::bmp_file(3, 2, 4, {5, 15, 5, 15, 5, 15}, palette16),
       {0xFF123456, 0xFFABCDEF, 0xFF123456, 0xFFABCDEF, 0xFF123456, 0xFFABCDEF}},
      {"8 bits", test::bmp_file(3, 2, 8, {200, 7, 200, 7, 7, 7}, palette256),
       {0xFF102030, 0xFFF0E0D0, 0xFF102030, 0xFFF0E0D0, 0xFFF0E0D0, 0xFFF0E0D0}},
      {"16 bits 5-5-5", test::bmp_file(3, 2, 16, {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0, 0x4210}),
       {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF848484}},
      {"24 bits", test::bmp_file(3, 2, 24, {0x010203, 0x040506, 0x070809, 0xA0B0C0, 0, 0xFFFFFF}),
       {0xFF010203, 0xFF040506, 0xFF070809, 0xFFA0B0C0, 0xFF000000, 0xFFFFFFFF}},
      {"32 bits, the fourth byte ignored",
       test::bmp_file(3, 2, 32, {0x00010203, 0x7F040506, 0xFF070809, 0, 0, 0x00FFFFFF}),
       {0xFF010203, 0xFF040506, 0xFF070809, 0xFF000000, 0xFF000000, 0xFFFFFFFF}},
      {"top-down rows", test::bmp_file(3, 2, 24, {1, 2, 3, 4, 5, 6}, {}, true),
       {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005, 0xFF000006}},
      {"index past a short palette paints black",
       test::bmp_file(3, 2, 8, {0, 1, 9, 9, 1, 0}, {0x0000FF, 0x00FF00}),
       {0xFF0000FF, 0xFF00FF00, 0xFF000000, 0xFF000000, 0xFF00FF00, 0xFF0000FF}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PictureRef p = decode_picture(c.file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->type, PictureType::kBitmap);
    EXPECT_EQ(p->pixel_width, 3);
    EXPECT_EQ(p->pixel_height, 2);
    EXPECT_EQ(p->width, 79);
    EXPECT_EQ(p->height, 53);
    EXPECT_EQ(p->pixels, c.expected);
    EXPECT_EQ(p->data, c.file) << "the file is kept byte for byte";
  }
}

TEST(PictureTest, IconsDecodeWithTheirMaskAsTransparency) {
  PictureRef p = decode_picture(test::tiny_icon());
  EXPECT_EQ(p->type, PictureType::kIcon);
  EXPECT_EQ(p->pixel_width, 16);
  EXPECT_EQ(p->pixel_height, 16);
  EXPECT_EQ(p->width, 423);
  EXPECT_EQ(p->height, 423);
  ASSERT_EQ(p->pixels.size(), 256u);
  EXPECT_EQ(p->pixels[0], 0u) << "masked pixel";
  EXPECT_EQ(p->pixels[1], 0xFF00FF00u);
  EXPECT_EQ(p->pixels[16 * 15], 0u);
  EXPECT_EQ(p->pixels[16 * 15 + 15], 0xFF00FF00u);
  EXPECT_EQ(p->data, test::tiny_icon());
}

TEST(PictureTest, AnIconFileShowsTheImageNearestThirtyTwoThenTheDeepest) {
  auto image = [](int size, int bpp, uint32_t colour) {
    test::IconImage im{size, size, bpp, std::vector<uint32_t>(size_t(size) * size, colour), {}, {}};
    if (bpp <= 8) {
      im.palette.assign(size_t(1) << bpp, 0);
      im.palette[1] = 0x0000FF;
      std::fill(im.pixels.begin(), im.pixels.end(), 1);
    }
    return im;
  };
  struct Case {
    const char* what;
    std::vector<test::IconImage> images;
    int size;
    uint32_t first_pixel;
  };
  const Case cases[] = {
      {"16 then 32", {image(16, 24, 0x111111), image(32, 24, 0x222222)}, 32, 0xFF222222},
      {"48 then 16", {image(48, 24, 0x333333), image(16, 24, 0x444444)}, 48, 0xFF333333},
      {"two of 32, the deeper wins", {image(32, 4, 0), image(32, 24, 0x555555)}, 32, 0xFF555555},
      {"32-bit alpha kept", {image(32, 32, 0x80AABBCC)}, 32, 0x80AABBCC},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PictureRef p = decode_picture(test::ico_file(c.images));
    EXPECT_EQ(p->pixel_width, c.size);
    EXPECT_EQ(p->pixel_height, c.size);
    ASSERT_FALSE(p->pixels.empty());
    EXPECT_EQ(p->pixels[0], c.first_pixel);
  }
}

TEST(PictureTest, NoDataIsAnEmptyPictureObject) {
  PictureRef p = decode_picture({});
  ASSERT_TRUE(p) << "an empty picture object, not nothing";
  EXPECT_TRUE(p->empty());
  EXPECT_EQ(p->width, 0);
  EXPECT_TRUE(p->data.empty());
}

// Writes v into b at byte offset at (little-endian).
Bytes patched(Bytes b, size_t at, std::initializer_list<uint8_t> v) {
  for (uint8_t x : v) b.at(at++) = x;
  return b;
}

TEST(PictureTest, MalformedFilesAreRefusedWithInvalidPicture) {
  const Bytes bmp = test::tiny_bitmap();
  const Bytes ico = test::tiny_icon();
  Bytes png_icon = ico;
  const std::initializer_list<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  png_icon = patched(png_icon, 22, png);
  const struct { const char* what; Bytes file; } cases[] = {
      {"unknown signature", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}},
      {"one byte", Bytes{'B'}},
      {"zero width", patched(bmp, 18, {0, 0, 0, 0})},
      {"negative width", patched(bmp, 18, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"zero height", patched(bmp, 22, {0, 0, 0, 0})},
      {"height of INT_MIN", patched(bmp, 22, {0, 0, 0, 0x80})},
      {"huge area", patched(patched(bmp, 18, {0, 0, 1, 0}), 22, {0, 0, 1, 0})},
      {"two planes", patched(bmp, 26, {2, 0})},
      {"2 bits per pixel", patched(bmp, 28, {2, 0})},
      {"run-length compressed", patched(bmp, 30, {1, 0, 0, 0})},
      {"bit fields on 24 bits", patched(bmp, 30, {3, 0, 0, 0})},
      {"unknown header size", patched(bmp, 14, {41, 0, 0, 0})},
      {"header larger than the file", patched(bmp, 14, {124, 0, 0, 0})},
      {"bits past the end", patched(bmp, 10, {0xFF, 0xFF, 0, 0})},
      {"300 palette colours", patched(bmp, 46, {0x2C, 0x01, 0, 0})},
      {"icon of no images", patched(ico, 4, {0, 0})},
      {"cursor file", patched(ico, 2, {2, 0})},
      {"icon image past the end", patched(ico, 18, {0xFF, 0xFF, 0, 0})},
      {"icon of only a PNG image", png_icon},
      {"icon image of odd header", patched(ico, 22, {12, 0, 0, 0})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(error_of([&] { decode_picture(c.file); }), kErrInvalidPicture) << c.what;
  }
}

TEST(PictureTest, EveryTruncationOfAValidFileIsRefused) {
  for (const Bytes& file : {test::tiny_bitmap(), test::tiny_icon(),
                            test::bmp_file(5, 3, 1, std::vector<uint32_t>(15, 1), {0, 0xFFFFFF})}) {
    for (size_t n = 1; n < file.size(); ++n) {
      const Bytes cut(file.begin(), file.begin() + n);
      EXPECT_EQ(error_of([&] { decode_picture(cut); }), kErrInvalidPicture) << n << " bytes";
    }
    EXPECT_EQ(error_of([&] { decode_picture(file); }), 0);
  }
}

TEST(PictureTest, PicturesCompareByTypeSizeAndData) {
  PictureRef a = decode_picture(test::tiny_bitmap());
  PictureRef b = decode_picture(test::tiny_bitmap());
  b->handle = 77;  // another load of the same file
  EXPECT_EQ(*a, *b);
  PictureRef icon = decode_picture(test::tiny_icon());
  EXPECT_FALSE(*a == *icon);
  EXPECT_EQ(*make_empty_picture(), *make_empty_picture());
  EXPECT_FALSE(*a == *make_empty_picture());
  const Picture bare1{PictureType::kIcon, 42, 100, 100}, bare2{PictureType::kIcon, 43, 100, 100};
  EXPECT_FALSE(bare1 == bare2) << "without data, handles tell pictures apart";
}

}  // namespace
}  // namespace qs
