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
#include "tests/support/control_test.h"
#include "tests/support/error_of.h"

namespace qs::test {

class ShapeButtonTest : public ControlTest<ShapeButton> {
 protected:
  ShapeButtonTest() : ControlTest(1785, 1545) {}

  Regions& regions() { return rig->platform().regions(); }

  // Resizes the surface to a size in pixels.
  void resize_pixels(int width, int height) {
    driver().resize(ctl->surface(), float(width) * 15, float(height) * 15);
  }

  // Presses and releases the left button near the middle of Label1
  // (pixels), inside every outline.
  void press_label() { driver().mouse_down(ctl->Label1(), 55, 5); }
  void release_label() { driver().mouse_up(ctl->Label1(), 55, 5); }
};

using Texts = std::vector<std::u16string>;
using Ids = std::vector<int>;

}  // namespace qs::test
