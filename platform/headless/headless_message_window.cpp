#include "platform/headless/headless_message_window.h"

#include <algorithm>

#include "core/runtime_error.h"
#include "platform/headless/headless_platform.h"
#include "platform/tray_field.h"

namespace qs {

HeadlessTimer::HeadlessTimer(HeadlessPlatform& platform) : platform_(platform) {
  platform_.timers_.push_back(this);
}

HeadlessTimer::~HeadlessTimer() { std::erase(platform_.timers_, this); }

void HeadlessTimer::set_interval(int32_t ms) {
  if (ms < 0 || ms > kMaxInterval) throw RuntimeError(kErrInvalidPropertyValue);
  interval_ = ms;
  restart();
}

void HeadlessTimer::set_enabled(bool enabled) {
  enabled_ = enabled;
  restart();
}

void HeadlessTimer::restart() { due_ = platform_.now() + interval_; }

void HeadlessTimer::tick() {
  due_ += interval_;
  auto handler = on_timer;
  if (handler) handler();
}

HeadlessMessageWindow::HeadlessMessageWindow(HeadlessPlatform& platform, uintptr_t handle)
    : platform_(platform), handle_(handle) {
  platform_.message_windows_.push_back(this);
}

HeadlessMessageWindow::~HeadlessMessageWindow() {
  timers_.clear();
  std::erase(platform_.message_windows_, this);
}

Timer& HeadlessMessageWindow::create_timer() {
  timers_.push_back(std::make_unique<HeadlessTimer>(platform_));
  return *timers_.back();
}

void HeadlessMessageWindow::deliver(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  auto handler = on_message;
  if (handler) handler(message, wparam, lparam);
}

void HeadlessMessageWindow::deliver_shell_restarted() {
  auto handler = on_shell_restarted;
  if (handler) handler();
}

bool HeadlessTray::notify(uint32_t message, const TrayRecord& record) {
  const std::pair<uintptr_t, uint32_t> key{get_tray_field(record, kTrayWindow),
                                           get_tray_field(record, kTrayId)};
  bool accepted = false;
  const bool sized = get_tray_field(record, kTraySize) == kTrayRecordSize;
  if (sized && message == kTrayAdd && key.first != 0) {
    accepted = icons.emplace(key, get_tray_field(record, kTrayCallback)).second;
  } else if (sized && message == kTrayModify) {
    accepted = icons.contains(key);
  } else if (sized && message == kTrayDelete) {
    accepted = icons.erase(key) > 0;
  }
  requests.push_back({message, record, accepted});
  return accepted;
}

}  // namespace qs
