// In-memory message windows and timers, the virtual clock they tick on, and
// the notification area and screen cursor of the headless platform.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/driver.h"
#include "platform/platform.h"

namespace qs {

class HeadlessPlatform;
class HeadlessMessageWindow;

// A timer on the virtual clock: due every interval ms after it was last set.
class HeadlessTimer final : public Timer {
 public:
  explicit HeadlessTimer(HeadlessPlatform& platform);
  ~HeadlessTimer() override;

  int32_t interval() const override { return interval_; }
  void set_interval(int32_t ms) override;
  bool enabled() const override { return enabled_; }
  void set_enabled(bool enabled) override;

  bool running() const { return enabled_ && interval_ > 0; }
  // The virtual time of the next tick (meaningful while running).
  int64_t due() const { return due_; }
  // Fires the tick due now and schedules the next one.
  void tick();

 private:
  void restart();

  HeadlessPlatform& platform_;
  int32_t interval_ = 0;
  bool enabled_ = true;
  int64_t due_ = 0;
};

class HeadlessMessageWindow final : public MessageWindow {
 public:
  HeadlessMessageWindow(HeadlessPlatform& platform, uintptr_t handle);
  ~HeadlessMessageWindow() override;

  uintptr_t handle() const override { return handle_; }
  Timer& create_timer() override;

  // Delivers a message as the platform would send it.
  void deliver(uint32_t message, uintptr_t wparam, intptr_t lparam);
  void deliver_shell_restarted();

 private:
  HeadlessPlatform& platform_;
  uintptr_t handle_;
  std::vector<std::unique_ptr<HeadlessTimer>> timers_;
};

// The shell's notification area as a recorder that keeps the icons it holds
// the way the shell does: one icon per (window, uID); an add of a held icon
// and a delete or modify of an unknown one are refused.
class HeadlessTray {
 public:
  bool notify(uint32_t message, const TrayRecord& record);

  std::vector<Driver::TrayRequest> requests;
  // The held icons with their callback message.
  std::map<std::pair<uintptr_t, uint32_t>, uint32_t> icons;
};

}  // namespace qs
