// The base of a control's test fixture: a fresh, initialised control on the
// rig's platform at its design size, with a recording host.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/recording_host.h"
#include "tests/support/rig.h"

namespace qs::test {

template <class Control>
class ControlTest : public ::testing::Test {
 protected:
  // The control's design size, in twips.
  ControlTest(float width, float height) : width_(width), height_(height) {}

  void SetUp() override {
    ctl = make_control();
    ctl->InitProperties();
    driver().resize(ctl->surface(), width_, height_);
    host.reset();
  }

  std::unique_ptr<Control> make_control() {
    return std::make_unique<Control>(rig->platform().create_surface(), host);
  }

  Driver& driver() { return rig->driver(); }

  // The dispatch ids of the events raised so far, in order.
  std::vector<int> event_ids() const {
    std::vector<int> ids;
    for (const auto& e : host.events) ids.push_back(e.dispid);
    return ids;
  }

  std::unique_ptr<Rig> rig = make_rig();
  RecordingHost host;
  std::unique_ptr<Control> ctl;

 private:
  float width_;
  float height_;
};

}  // namespace qs::test
