// Painting on real GDI: transparent labels let the shadow show through the
// text's background, a transparent surface shows what its parent paints,
// and the check box's box shows its state's colour.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/qcheck/qcheck.h"
#include "controls/qlabel/qlabel.h"
#include "platform/win32/win32_element.h"
#include "platform/win32/win32_platform.h"

namespace qs::win32 {
namespace {

constexpr COLORREF kBackdrop = RGB(0, 128, 255);

// A top-level window that paints kBackdrop, standing for the control's container.
class Backdrop {
 public:
  Backdrop() {
    static const wchar_t* const name = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &Backdrop::proc;
      wc.lpszClassName = L"QsTestBackdrop";
      register_window_class(wc);
      return L"QsTestBackdrop";
    }();
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, name, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 400, 200,
                            nullptr, nullptr, module_instance(), nullptr);
  }
  ~Backdrop() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_ERASEBKGND || message == WM_PRINTCLIENT) {
      RECT client{};
      GetClientRect(hwnd, &client);
      HBRUSH brush = CreateSolidBrush(kBackdrop);
      FillRect(reinterpret_cast<HDC>(wparam), &client, brush);
      DeleteObject(brush);
      return 1;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  HWND hwnd_ = nullptr;
};

// The client area of a window as it paints itself into a bitmap, read back
// pixel by pixel.
class Snapshot {
 public:
  explicit Snapshot(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    pixels_.assign(p, p + static_cast<size_t>(width_) * height_);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }

  COLORREF at(int x, int y) const {
    const uint32_t v = pixels_[static_cast<size_t>(y) * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  // Pixels close to a pure colour (text may be smoothed at its edges).
  int count_near(COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const COLORREF c = at(x, y);
        n += std::abs(GetRValue(c) - GetRValue(colour)) < 40 &&
             std::abs(GetGValue(c) - GetGValue(colour)) < 40 &&
             std::abs(GetBValue(c) - GetBValue(colour)) < 40;
      }
    }
    return n;
  }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

class TransparencyTest : public ::testing::Test {
 protected:
  void SetUp() override { platform_.driver(); }

  Win32Platform& platform_ = Win32Platform::current();
  Backdrop backdrop_;
  NullHost host_;
};

TEST_F(TransparencyTest, TheShadowShowsThroughTheTextAndTheContainerThroughTheSurface) {
  qLabel label(platform_.create_surface(), host_);
  auto& surface = dynamic_cast<Win32Surface&>(label.surface());
  surface.attach(backdrop_.hwnd(), RECT{0, 0, 300, 60});
  label.InitProperties();
  label.set_Font(make_font(FontDesc{u"Tahoma", 24, 700}));
  label.set_Caption(u"MMMM");
  label.set_ForeColor(rgb(255, 0, 0));
  label.set_ShadowColor(rgb(0, 0, 255));
  label.set_Shadow(60);  // 4 pixels
  label.set_BackStyle(0);

  Snapshot see_through(surface.hwnd());
  ASSERT_EQ(see_through.width(), 300);
  EXPECT_GT(see_through.count_near(RGB(255, 0, 0)), 50) << "the text is drawn";
  EXPECT_GT(see_through.count_near(RGB(0, 0, 255)), 50)
      << "the shadow shows through the text label, which covers it whole";
  EXPECT_EQ(see_through.at(299, 59), kBackdrop) << "a transparent surface shows its container";

  label.set_BackStyle(1);
  label.set_BackColor(rgb(0, 255, 0));
  Snapshot opaque(surface.hwnd());
  EXPECT_EQ(opaque.at(299, 59), RGB(0, 255, 0));
  EXPECT_GT(opaque.count_near(RGB(0, 0, 255)), 50);

  // The text label made opaque hides its shadow: what the first snapshot
  // saw was the shadow through a transparent label.
  label.Label1().set_back_style(1);
  label.Label1().set_back_color(rgb(255, 255, 255));
  Snapshot covered(surface.hwnd());
  EXPECT_EQ(covered.count_near(RGB(0, 0, 255)), 0);
  EXPECT_GT(covered.count_near(RGB(255, 0, 0)), 50);
  surface.attach(nullptr, RECT{});
}

TEST_F(TransparencyTest, TheCheckBoxShowsItsStateColour) {
  qCheck check(platform_.create_surface(), host_);
  auto& surface = dynamic_cast<Win32Surface&>(check.surface());
  surface.attach(backdrop_.hwnd(), RECT{0, 0, 132, 24});
  check.InitProperties();
  HWND box = dynamic_cast<ElementInfo&>(check.Picture1()).element_hwnd();
  ASSERT_NE(box, nullptr);
  struct Case {
    Variant value;
    COLORREF colour;
  };
  for (const Case& c : {Case{Variant(int16_t{1}), RGB(0, 255, 0)},
                        Case{Variant(int16_t{2}), RGB(255, 128, 0)},
                        Case{Variant(int16_t{0}), RGB(0, 0, 0)}}) {
    check.set_Value(c.value);
    Snapshot shot(box);
    ASSERT_GT(shot.width(), 2);
    EXPECT_EQ(shot.at(shot.width() / 2, shot.height() / 2), c.colour) << c.value.to_long();
  }
  surface.attach(nullptr, RECT{});
}

}  // namespace
}  // namespace qs::win32
