// The rig of the native test executable: the in-memory platform and its driver.
#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/rig.h"

namespace qs::test {

namespace {

class HeadlessRig final : public Rig {
 public:
  Platform& platform() override { return platform_; }
  Driver& driver() override { return driver_; }
  bool headless() const override { return true; }

 private:
  HeadlessPlatform platform_;
  HeadlessDriver driver_{platform_};
};

}  // namespace

std::unique_ptr<Rig> make_rig() { return std::make_unique<HeadlessRig>(); }

}  // namespace qs::test
