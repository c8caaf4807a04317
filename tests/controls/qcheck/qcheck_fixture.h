// A fresh, initialised qCheck on the rig's platform at its design size,
// 1980 x 360 twips, with a recording host.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/qcheck/qcheck.h"
#include "core/runtime_error.h"
#include "tests/support/error_of.h"
#include "tests/support/recording_host.h"
#include "tests/support/rig.h"

namespace qs::test {

constexpr OleColor kBlack = 0;
constexpr OleColor kGreen = 0x0000FF00u;
constexpr OleColor kOrange = 0x000080FFu;

class QCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctl = make_control();
    ctl->InitProperties();
    driver().resize(ctl->surface(), 1980, 360);
    host.reset();
  }

  std::unique_ptr<qCheck> make_control() {
    return std::make_unique<qCheck>(rig->platform().create_surface(), host);
  }

  Driver& driver() { return rig->driver(); }

  // The dispatch ids of the events raised so far, in order.
  std::vector<int> event_ids() const {
    std::vector<int> ids;
    for (const auto& e : host.events) ids.push_back(e.dispid);
    return ids;
  }

  OleColor box_color() { return ctl->Picture1().back_color(); }

  std::unique_ptr<Rig> rig = make_rig();
  RecordingHost host;
  std::unique_ptr<qCheck> ctl;
};

using Texts = std::vector<std::u16string>;
using Ids = std::vector<int>;

}  // namespace qs::test
