// The headless platform's message windows, timers on the virtual clock and
// in-memory notification area.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/error_of.h"

namespace qs::test {
namespace {

class MessageWindowTest : public ::testing::Test {
 protected:
  HeadlessPlatform platform;
  HeadlessDriver driver{platform};
};

TEST_F(MessageWindowTest, TimersTickInTimeOrderOnlyWhenTheClockMoves) {
  auto w = platform.create_message_window();
  std::vector<std::string> ticks;
  Timer& a = w->create_timer();
  Timer& b = w->create_timer();
  a.on_timer = [&] { ticks.push_back("a" + std::to_string(platform.now())); };
  b.on_timer = [&] { ticks.push_back("b" + std::to_string(platform.now())); };
  a.set_interval(30);
  b.set_interval(20);
  EXPECT_TRUE(ticks.empty());
  driver.advance_time(19);
  EXPECT_TRUE(ticks.empty());
  driver.advance_time(51);  // to 70
  EXPECT_EQ(ticks, (std::vector<std::string>{"b20", "a30", "b40", "a60", "b60"}));
  EXPECT_EQ(driver.running_timers(), 2);
  a.set_enabled(false);
  b.set_interval(0);
  EXPECT_EQ(driver.running_timers(), 0);
  ticks.clear();
  driver.advance_time(1000);
  EXPECT_TRUE(ticks.empty());
}

TEST_F(MessageWindowTest, AnIntervalOutside0To65535FailsWith380AndChangesNothing) {
  auto w = platform.create_message_window();
  Timer& t = w->create_timer();
  t.set_interval(65535);
  for (int32_t bad : {-1, 65536, 1 << 30}) {
    EXPECT_EQ(error_of([&] { t.set_interval(bad); }), kErrInvalidPropertyValue) << bad;
    EXPECT_EQ(t.interval(), 65535);
  }
}

TEST_F(MessageWindowTest, AWindowDestroyedFromItsOwnTickStopsItsTimersAndCountsDown) {
  auto w = platform.create_message_window();
  EXPECT_NE(w->handle(), 0u);
  EXPECT_EQ(driver.live_message_windows(), 1);
  int ticks = 0;
  Timer& t = w->create_timer();
  t.on_timer = [&] {
    ++ticks;
    w.reset();
  };
  t.set_interval(10);
  driver.advance_time(100);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(driver.live_message_windows(), 0);
  EXPECT_EQ(driver.running_timers(), 0);
}

TEST_F(MessageWindowTest, TheTrayHoldsOneIconPerWindowAndIdAndRefusesWhatItDoesNotHold) {
  auto w = platform.create_message_window();
  std::vector<std::pair<uint32_t, intptr_t>> got;
  w->on_message = [&](uint32_t m, uintptr_t id, intptr_t l) { got.emplace_back(m, l + intptr_t(id) * 10000); };
  TrayRecord r{};
  r[0] = 88;
  const uint32_t handle = uint32_t(w->handle());
  for (int i = 0; i < 4; ++i) r[4 + i] = uint8_t(handle >> (8 * i));
  r[8] = 1;
  r[16] = 0x00;
  r[17] = 0x02;  // callback 512
  EXPECT_FALSE(platform.shell_notify_icon(kTrayDelete, r)) << "nothing to delete";
  EXPECT_FALSE(platform.shell_notify_icon(kTrayModify, r));
  EXPECT_TRUE(platform.shell_notify_icon(kTrayAdd, r));
  EXPECT_FALSE(platform.shell_notify_icon(kTrayAdd, r)) << "held already";
  EXPECT_TRUE(platform.shell_notify_icon(kTrayModify, r));
  EXPECT_TRUE(driver.tray_mouse({handle, 1}, 514));
  EXPECT_FALSE(driver.tray_mouse({handle, 2}, 514)) << "no icon 2";
  EXPECT_EQ(got, (std::vector<std::pair<uint32_t, intptr_t>>{{512, 514 + 10000}}));
  TrayRecord other = r;
  other[0] = 100;
  EXPECT_FALSE(platform.shell_notify_icon(kTrayDelete, other)) << "a record of another size";
  EXPECT_TRUE(platform.shell_notify_icon(kTrayDelete, r));
  EXPECT_TRUE(driver.tray_icons().empty());
  ASSERT_EQ(driver.tray_requests().size(), 7u);
  EXPECT_FALSE(driver.tray_requests()[5].accepted);
  EXPECT_TRUE(driver.tray_requests()[6].accepted);
}

TEST_F(MessageWindowTest, AShellRestartEmptiesTheTrayAndTellsEveryWindow) {
  auto a = platform.create_message_window();
  auto b = platform.create_message_window();
  int heard = 0;
  a->on_shell_restarted = [&] {
    ++heard;
    b.reset();  // a handler may destroy another window
  };
  b->on_shell_restarted = [&] { ++heard; };
  driver.restart_shell();
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(driver.live_message_windows(), 1);
}

}  // namespace
}  // namespace qs::test
