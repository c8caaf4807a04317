// A fresh, initialised Quorral on the rig's platform with a recording host
// in run mode, and readers of the tray requests the platform saw.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/quorral/quorral.h"
#include "core/runtime_error.h"
#include "tests/support/error_of.h"
#include "tests/support/recording_host.h"
#include "tests/support/rig.h"

namespace qs::test {

class QuorralTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The real pointer is shared with later tests: put it back afterwards.
    cursor_before = rig->platform().cursor_pos();
    windows_before = driver().live_message_windows();
    timers_before = driver().running_timers();
    ctl = make_control();
    ctl->InitProperties();
    driver().resize(ctl->surface(), 552, 552);
    host.reset();
    driver().clear_tray_requests();
  }

  void TearDown() override {
    ctl.reset();
    driver().move_cursor(cursor_before);
    driver().pump();
  }

  std::unique_ptr<Quorral> make_control(Host* with = nullptr) {
    return std::make_unique<Quorral>(rig->platform().create_surface(), with ? *with : host);
  }

  Driver& driver() { return rig->driver(); }

  std::vector<int> event_ids() const {
    std::vector<int> ids;
    for (const auto& e : host.events) ids.push_back(e.dispid);
    return ids;
  }

  // The requests handed to the shell since SetUp, as (message, window).
  std::vector<std::pair<uint32_t, uint32_t>> requests() const {
    std::vector<std::pair<uint32_t, uint32_t>> out;
    for (const auto& r : driver_const().tray_requests())
      out.emplace_back(r.message, get_tray_field(r.record, TrayLayout::kWindow));
    return out;
  }
  const Driver& driver_const() const { return rig->driver(); }

  // The icon a control places, as the shell knows it.
  static Driver::TrayIcon icon_of(Quorral& q) {
    return {uintptr_t(uint32_t(q.window().handle())), TrayLayout::kIconId};
  }
  bool shows(Quorral& q) {
    for (const auto& i : driver().tray_icons())
      if (i == icon_of(q)) return true;
    return false;
  }
  static uint32_t window32(Quorral& q) { return uint32_t(q.window().handle()); }

  std::unique_ptr<Rig> rig = make_rig();
  RecordingHost host;
  std::unique_ptr<Quorral> ctl;
  ScreenPoint cursor_before;
  int windows_before = 0;
  int timers_before = 0;
};

using Ids = std::vector<int>;

}  // namespace qs::test
