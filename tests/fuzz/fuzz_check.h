// A broken invariant in a fuzz target: say which, then abort so the fuzzer
// keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define QS_FUZZ_CHECK(cond)                                                          \
  do {                                                                               \
    if (!(cond)) {                                                                   \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)
