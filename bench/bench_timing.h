// Timing helpers shared by the plain (non-framework) benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace qs::bench {

// Microseconds per call of work, over enough calls to last about 50 ms.
inline double time_per_call(const std::function<void()>& work) {
  using Clock = std::chrono::steady_clock;
  int calls = 1;
  for (;;) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) work();
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    if (us > 50000 || calls > (1 << 24)) return us / calls;
    calls *= us < 1000 ? 16 : 2;
  }
}

// The middle figure of a run (0 for none).
inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace qs::bench
