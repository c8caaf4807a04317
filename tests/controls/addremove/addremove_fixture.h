// A fresh, initialised AddRemove on the rig's platform, 4800 x 3600 twips,
// with a recording host and helpers to read the lists.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/addremove/addremove.h"
#include "core/runtime_error.h"
#include "tests/support/recording_host.h"
#include "tests/support/rig.h"
#include "tests/support/error_of.h"

namespace qs::test {

class AddRemoveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctl = make_control();
    ctl->InitProperties();
    driver().resize(ctl->surface(), 4800, 3600);
    host.reset();
  }

  std::unique_ptr<AddRemove> make_control() {
    return std::make_unique<AddRemove>(rig->platform().create_surface(), host);
  }

  Driver& driver() { return rig->driver(); }

  static std::vector<std::u16string> items(ListBox& list) {
    std::vector<std::u16string> out;
    for (int i = 0; i < list.list_count(); ++i) out.push_back(list.list(i));
    return out;
  }

  static std::vector<int32_t> item_data(ListBox& list) {
    std::vector<int32_t> out;
    for (int i = 0; i < list.list_count(); ++i) out.push_back(list.item_data(i));
    return out;
  }

  // Fills the lists through the per-item methods (no Change, buttons untouched).
  void fill(const std::vector<std::u16string>& left, const std::vector<std::u16string>& right) {
    for (const auto& s : left) ctl->LAddItem(s);
    for (const auto& s : right) ctl->RAddItem(s);
  }

  // "<", "<<", ">", ">>" enabled flags, in that order.
  std::vector<bool> buttons() {
    return {ctl->cmdAdd().enabled(), ctl->cmdAddAll().enabled(), ctl->cmdRemove().enabled(),
            ctl->cmdRemoveAll().enabled()};
  }

  int changes() const { return host.count(AddRemove::kChangeEvent); }

  std::unique_ptr<Rig> rig = make_rig();
  RecordingHost host;
  std::unique_ptr<AddRemove> ctl;
};

using Texts = std::vector<std::u16string>;
using Flags = std::vector<bool>;

}  // namespace qs::test
