// The runtime error number a call fails with, for tests.
#pragma once

#include <cstdint>

#include "core/runtime_error.h"

namespace qs::test {

// The runtime error number f raises, or 0 when it raises none.
template <class F>
int32_t error_of(F&& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace qs::test
