// A fresh, initialised qLabel on the rig's platform at its design size,
// 1110 x 435 twips, with a recording host.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/qlabel/qlabel.h"
#include "core/runtime_error.h"
#include "tests/support/error_of.h"
#include "tests/support/recording_host.h"
#include "tests/support/rig.h"

namespace qs::test {

class QLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctl = make_control();
    ctl->InitProperties();
    driver().resize(ctl->surface(), 1110, 435);
    host.reset();
  }

  std::unique_ptr<qLabel> make_control() {
    return std::make_unique<qLabel>(rig->platform().create_surface(), host);
  }

  Driver& driver() { return rig->driver(); }

  std::vector<int> event_ids() const {
    std::vector<int> ids;
    for (const auto& e : host.events) ids.push_back(e.dispid);
    return ids;
  }

  std::unique_ptr<Rig> rig = make_rig();
  RecordingHost host;
  std::unique_ptr<qLabel> ctl;
};

using Texts = std::vector<std::u16string>;
using Ids = std::vector<int>;

}  // namespace qs::test
