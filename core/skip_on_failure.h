// Runs handler steps so that a failing step is skipped and the next one runs.
#pragma once

#include <utility>

#include "core/runtime_error.h"

namespace qs {

class SkipOnFailure {
 public:
  // Runs one step; a runtime error from it is swallowed and remembered.
  template <class Step>
  void step(Step&& s) {
    try {
      std::forward<Step>(s)();
    } catch (const RuntimeError&) {
      failed_ = true;
    }
  }
  // Whether any step so far failed.
  bool failed() const { return failed_; }

 private:
  bool failed_ = false;
};

}  // namespace qs
