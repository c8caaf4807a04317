// The Win32 image element paints its picture's bitmap into its container,
// at its own size or stretched over the element, below the labels made after it.
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"

#include <commctrl.h>

#include <memory>
#include <string>

namespace qs::win32 {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

class ImagePaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface_.set_back_color(kGreen);
    platform_.driver().resize(surface_, 40 * 15, 20 * 15);
    // A 2 x 1 bitmap: red, then blue (pixels as 0x00RRGGBB).
    const DWORD bits[2] = {0x00FF0000, 0x000000FF};
    bitmap_ = CreateBitmap(2, 1, 1, 32, bits);
    screen_ = GetDC(nullptr);
    memory_ = CreateCompatibleDC(screen_);
    canvas_ = CreateCompatibleBitmap(screen_, 40, 20);
    old_ = SelectObject(memory_, canvas_);
  }
  void TearDown() override {
    SelectObject(memory_, old_);
    DeleteObject(canvas_);
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
    owned_.reset();
    DeleteObject(bitmap_);
  }

  // The surface painted into the memory canvas; the colour at a pixel.
  COLORREF pixel(int x, int y) {
    surface_.draw(memory_, RECT{0, 0, 40, 20});
    return GetPixel(memory_, x, y);
  }

  PictureRef picture() {
    auto p = std::make_shared<Picture>();
    p->type = PictureType::kBitmap;
    p->handle = reinterpret_cast<intptr_t>(bitmap_);
    return p;
  }

  Win32Platform& platform_ = Win32Platform::current();
  std::unique_ptr<Surface> owned_ = platform_.create_surface();
  Win32Surface& surface_ = dynamic_cast<Win32Surface&>(*owned_);
  HBITMAP bitmap_ = nullptr;
  HDC screen_ = nullptr;
  HDC memory_ = nullptr;
  HBITMAP canvas_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

TEST_F(ImagePaintTest, StretchedAndAtOwnSize) {
  Image& image = surface_.create_image(u"Image1");
  image.move(0, 0, 20 * 15, 10 * 15);
  image.set_picture(picture());
  struct Probe {
    int x, y;
    COLORREF own_size, stretched;
  };
  const Probe probes[] = {
      {0, 0, kRed, kRed},     {1, 0, kBlue, kRed},     {5, 5, kGreen, kRed},
      {15, 5, kGreen, kBlue}, {19, 9, kGreen, kBlue},  {25, 5, kGreen, kGreen},
      {5, 15, kGreen, kGreen},
  };
  for (bool stretch : {false, true}) {
    image.set_stretch(stretch);
    for (const Probe& p : probes) {
      SCOPED_TRACE(testing::Message() << "stretch " << stretch << " at " << p.x << "," << p.y);
      EXPECT_EQ(pixel(p.x, p.y), stretch ? p.stretched : p.own_size);
    }
  }
  // An empty picture or none paints nothing; a hidden image neither.
  image.set_visible(false);
  EXPECT_EQ(pixel(5, 5), kGreen);
  image.set_visible(true);
  image.set_picture(std::make_shared<Picture>());
  EXPECT_EQ(pixel(5, 5), kGreen);
}

TEST_F(ImagePaintTest, ALabelMadeLaterPaintsOverIt) {
  Image& image = surface_.create_image(u"Image1");
  Label& label = surface_.create_label(u"Label1");
  image.move(0, 0, 20 * 15, 10 * 15);
  image.set_stretch(true);
  image.set_picture(picture());
  label.set_back_color(0x00FFFFFF);
  label.move(0, 0, 4 * 15, 4 * 15);
  EXPECT_EQ(pixel(2, 2), RGB(255, 255, 255));
  EXPECT_EQ(pixel(6, 6), kRed);
}

struct TipSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK find_tip(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TipSearch*>(param);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == search->owner) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

TEST_F(ImagePaintTest, TooltipsCoverTheWindowlessElementsThatHaveText) {
  Image& image = surface_.create_image(u"Image1");
  Label& label = surface_.create_label(u"Label1");
  image.move(0, 0, 20 * 15, 10 * 15);
  label.move(30, 45, 60, 30);
  // A popup is owned by the top-level window above the surface.
  TipSearch search{GetAncestor(surface_.hwnd(), GA_ROOT), nullptr};
  EnumThreadWindows(GetCurrentThreadId(), find_tip, reinterpret_cast<LPARAM>(&search));
  EXPECT_EQ(search.found, nullptr) << "no tooltip window before any text";

  image.set_tool_tip_text(u"Picture tip");
  label.set_tool_tip_text(u"Caption tip");
  EnumThreadWindows(GetCurrentThreadId(), find_tip, reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.found, nullptr);
  EXPECT_EQ(SendMessageW(search.found, TTM_GETTOOLCOUNT, 0, 0), 2);
  // The tool follows its element's place, in pixels.
  image.move(15, 30, 150, 75);
  wchar_t text[64] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = surface_.hwnd();
  tool.uId = 0;
  tool.lpszText = text;
  ASSERT_TRUE(SendMessageW(search.found, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_EQ(std::wstring(text), L"Picture tip");
  EXPECT_EQ(tool.rect.left, 1);
  EXPECT_EQ(tool.rect.top, 2);
  EXPECT_EQ(tool.rect.right, 11);
  EXPECT_EQ(tool.rect.bottom, 7);
  label.set_tool_tip_text(u"");
  EXPECT_EQ(SendMessageW(search.found, TTM_GETTOOLCOUNT, 0, 0), 1);
}

}  // namespace
}  // namespace qs::win32
