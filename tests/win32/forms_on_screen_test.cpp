// The library's forms on real windows: the speech bubble cut to its shape
// with its black outline for every spike, and the about box after its
// animation ran on the real timer. Each test also writes what the screen
// showed to screens/<name>.bmp under the working directory, for a person
// to look at.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "container/window_capture.h"
#include "controls/quorral/message_box_form.h"
#include "controls/quorral/utilities.h"
#include "library/about_form.h"
#include "platform/win32/win32_container.h"
#include "platform/win32/win32_platform.h"

namespace qs::win32 {
namespace {

HWND hwnd_of(Form& form) {
  auto* window = dynamic_cast<ContainerWindow*>(&form);
  return window != nullptr ? window->hwnd() : nullptr;
}

using container::Pixels;

// The screen's pixels over a window's client area, painted first.
Pixels shoot(HWND hwnd) {
  Pixels shot;
  EXPECT_TRUE(container::capture_window(hwnd, &shot)) << "the window could not be captured";
  return shot;
}

// Writes a 24-bit BMP file of the shot to screens/<name>.bmp.
void save(const Pixels& shot, const std::string& name) {
  CreateDirectoryA("screens", nullptr);
  container::write_bmp(L"screens/" + std::wstring(name.begin(), name.end()) + L".bmp", shot);
}

// Lets the window system deliver what is pending for a moment.
void pump_for(std::chrono::milliseconds span) {
  const auto end = std::chrono::steady_clock::now() + span;
  MSG msg;
  while (std::chrono::steady_clock::now() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

TEST(FormsOnScreen, TheBubbleIsCutToItsShapeWithABlackOutline) {
  Win32Platform& platform = Win32Platform::current();
  Driver& driver = platform.driver();
  const COLORREF face = GetSysColor(COLOR_BTNFACE) & 0xFFFFFF;
  for (int spike = 0; spike <= 5; ++spike) {
    bool shown = false;
    driver.on_modal([&](Form& form) {
      shown = true;
      HWND hwnd = hwnd_of(form);
      ASSERT_NE(hwnd, nullptr);
      pump_for(std::chrono::milliseconds(50));
      const Pixels shot = shoot(hwnd);
      save(shot, "bubble_spike_" + std::to_string(spike));
      const int w = shot.width, h = shot.height;
      ASSERT_GT(w, 40);
      ASSERT_GT(h, 40);
      EXPECT_EQ(shot.at(w / 2, 1), RGB(0, 0, 0)) << "the outline at the top, spike " << spike;
      EXPECT_EQ(shot.at(w / 2, h - 2), RGB(0, 0, 0)) << "the outline at the bottom";
      EXPECT_EQ(shot.at(w / 2, 20), face) << "the face inside the outline";
      EXPECT_EQ(shot.at(w / 2, 4), face) << "the outline is 3 pixels deep";
      // The black at the top is the window's own outline, not the screen
      // behind it.
      POINT top{w / 2, 1};
      ClientToScreen(hwnd, &top);
      EXPECT_EQ(WindowFromPoint(top), hwnd);
      // Near the top-left corner: part of the window only with a spike there.
      POINT corner{20, 15};
      ClientToScreen(hwnd, &corner);
      const bool spiked = spike == 1 || spike == 5;
      EXPECT_EQ(WindowFromPoint(corner) == hwnd, spiked) << "spike " << spike;
      if (spiked) {
        EXPECT_EQ(shot.at(20, 15), face);
      }
      if (CommandButton* ok = dynamic_cast<CommandButton*>(form.find(u"Command1(1)"))) {
        driver.click(*ok);
      }
    });
    msg_box(platform, nullptr, Variant(u"A bubble"), Variant(int32_t(0)), Variant::missing(),
            Variant::missing(), Variant(int32_t(spike)));
    EXPECT_TRUE(shown);
    EXPECT_EQ(msg_box_request().Result.to_integer(), 1) << "a real button press answers";
  }
  driver.on_modal({});
}

TEST(FormsOnScreen, TheAboutBoxAfterItsAnimation) {
  Win32Platform& platform = Win32Platform::current();
  Driver& driver = platform.driver();
  AboutForm about(platform);
  const std::u16string done = u"Skorv\rActivex controls-\rQuorral Series";
  driver.on_modal([&](Form& form) {
    auto* subtitle = dynamic_cast<Label*>(form.find(u"Label2"));
    ASSERT_NE(subtitle, nullptr);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (subtitle->caption() != done && std::chrono::steady_clock::now() < end) {
      pump_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(subtitle->caption(), done) << "the real timer ran the animation to its end";
    auto* title = dynamic_cast<Label*>(form.find(u"Label1"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->fore_color(), rgb(5, 5, 255));
    const Pixels shot = shoot(hwnd_of(form));
    save(shot, "about");
    EXPECT_EQ(shot.at(4, 4), RGB(0, 0, 0)) << "the black background";
    if (auto* ok = dynamic_cast<Label*>(form.find(u"Label3"))) driver.click(*ok);
  });
  about.show_modal();
  driver.on_modal({});
}

}  // namespace
}  // namespace qs::win32
