// A fresh, initialised ShapeButton on the rig's platform at its design size,
// 1785 x 1545 twips (119 x 103 pixels), with a recording host.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/shapebutton/shapebutton.h"
#include "core/runtime_error.h"
#include "platform/region.h"
#include "tests/support/error_of.h"
#include "tests/support/recording_host.h"
#include "tests/support/rig.h"

namespace qs::test {

class ShapeButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctl = make_control();
    ctl->InitProperties();
    driver().resize(ctl->surface(), 1785, 1545);
    host.reset();
  }

  std::unique_ptr<ShapeButton> make_control() {
    return std::make_unique<ShapeButton>(rig->platform().create_surface(), host);
  }

  Driver& driver() { return rig->driver(); }
  Regions& regions() { return rig->platform().regions(); }

  // Resizes the surface to a size in pixels.
  void resize_pixels(int width, int height) {
    driver().resize(ctl->surface(), float(width) * 15, float(height) * 15);
  }

  // Presses and releases the left button near the middle of Label1
  // (pixels), inside every outline.
  void press_label() { driver().mouse_down(ctl->Label1(), 55, 5); }
  void release_label() { driver().mouse_up(ctl->Label1(), 55, 5); }

  // The dispatch ids of the events raised so far, in order.
  std::vector<int> event_ids() const {
    std::vector<int> ids;
    for (const auto& e : host.events) ids.push_back(e.dispid);
    return ids;
  }

  std::unique_ptr<Rig> rig = make_rig();
  RecordingHost host;
  std::unique_ptr<ShapeButton> ctl;
};

using Texts = std::vector<std::u16string>;
using Ids = std::vector<int>;

}  // namespace qs::test
