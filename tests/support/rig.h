// The platform a behaviour suite runs on: headless natively, Win32 under Wine.
#pragma once

#include <memory>

#include "platform/driver.h"
#include "platform/platform.h"

namespace qs::test {

class Rig {
 public:
  virtual ~Rig() = default;
  virtual Platform& platform() = 0;
  virtual Driver& driver() = 0;
  // True on the headless platform (some checks are exact only there).
  virtual bool headless() const = 0;
};

// The rig of the platform this test executable is built for.
std::unique_ptr<Rig> make_rig();

}  // namespace qs::test
