// The platform's picture loader, on the headless platform and on Windows:
// empty paths, picture files, missing and damaged files, and pictures made
// again from the data a store kept.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/picture.h"
#include "core/runtime_error.h"
#include "tests/support/error_of.h"
#include "tests/support/picture_files.h"
#include "tests/support/rig.h"

namespace qs {
namespace {

using test::Bytes;
using test::error_of;

class PictureLoaderTest : public ::testing::Test {
 protected:
  // Writes bytes to a file of this test and gives its path.
  std::u16string file(const char* name, const Bytes& bytes) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       (std::string("qs_picture_") + name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    written_.push_back(path);
    return path.u16string();
  }
  ~PictureLoaderTest() override {
    for (const auto& p : written_) std::filesystem::remove(p);
  }

  std::unique_ptr<test::Rig> rig = test::make_rig();
  Platform& platform = rig->platform();
  std::vector<std::filesystem::path> written_;
};

TEST_F(PictureLoaderTest, AnEmptyPathGivesAnEmptyPictureObject) {
  PictureRef p = platform.load_picture(u"");
  ASSERT_TRUE(p) << "an empty picture object, not nothing";
  EXPECT_EQ(p->type, PictureType::kNone);
  EXPECT_TRUE(p->data.empty());
  EXPECT_EQ(p->handle, 0);
  PictureRef again = platform.load_picture(u"");
  EXPECT_NE(p, again) << "each load gives its own object";
}

TEST_F(PictureLoaderTest, PictureFilesLoadWithTheirSizeAndKeepTheirBytes) {
  const struct {
    const char* name;
    Bytes bytes;
    PictureType type;
    int32_t pixels;
  } cases[] = {
      {"bitmap.bmp", test::tiny_bitmap(), PictureType::kBitmap, 2},
      {"bitmap1.bmp", test::bmp_file(16, 16, 1, std::vector<uint32_t>(256, 1), {0, 0xFFFFFF}),
       PictureType::kBitmap, 16},
      {"icon.ico", test::tiny_icon(), PictureType::kIcon, 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PictureRef p = platform.load_picture(file(c.name, c.bytes));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->type, c.type);
    EXPECT_EQ(p->pixel_width, c.pixels);
    EXPECT_EQ(p->pixel_height, c.pixels);
    EXPECT_EQ(p->width, himetric_from_pixels(c.pixels));
    EXPECT_EQ(p->height, himetric_from_pixels(c.pixels));
    EXPECT_EQ(p->data, c.bytes);
    if (!rig->headless()) {
      EXPECT_NE(p->handle, 0) << "a handle to paint with";
    }

    PictureRef made = platform.picture_from_data(p->data);
    EXPECT_EQ(*made, *p) << "the kept data makes the same picture";
  }
}

TEST_F(PictureLoaderTest, MissingAndDamagedFilesFailWithTheRuntimesErrors) {
  Bytes cut = test::tiny_bitmap();
  cut.resize(20);
  const struct {
    const char* what;
    std::u16string path;
    int32_t error;
  } cases[] = {
      {"no such file", file("present.bmp", test::tiny_bitmap()) + u".missing", kErrFileNotFound},
      {"empty file", file("empty.bmp", {}), kErrInvalidPicture},
      {"not a picture", file("text.bmp", Bytes(64, 'x')), kErrInvalidPicture},
      {"cut short", file("cut.bmp", cut), kErrInvalidPicture},
  };
  for (const auto& c : cases) EXPECT_EQ(error_of([&] { platform.load_picture(c.path); }), c.error) << c.what;
  EXPECT_EQ(error_of([&] { platform.picture_from_data(Bytes(64, 'x')); }), kErrInvalidPicture);
  PictureRef empty = platform.picture_from_data({});
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());
}

}  // namespace
}  // namespace qs
