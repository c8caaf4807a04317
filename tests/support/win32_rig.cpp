// The rig of the Windows test executable: the calling thread's real platform
// and its driver, which sends real window messages.
#include "platform/win32/win32_platform.h"
#include "tests/support/rig.h"

namespace qs::test {

namespace {

class Win32Rig : public Rig {
 public:
  Platform& platform() override { return win32::Win32Platform::current(); }
  Driver& driver() override { return win32::Win32Platform::current().driver(); }
  bool headless() const override { return false; }
};

}  // namespace

std::unique_ptr<Rig> make_rig() {
  // Asking for the driver now puts the platform under test, so a modal show
  // without a script fails instead of waiting for a user.
  win32::Win32Platform::current().driver();
  return std::make_unique<Win32Rig>();
}

}  // namespace qs::test
