// Counts the bytes and calls of operator new in a benchmark program, so a
// figure can be printed beside the same count for the bare calls. Include it
// in exactly one file of the program: it replaces the global operator new.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <new>

// The replacements pair malloc with free; GCC cannot see that through the
// inlined standard allocators and would warn about a mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

inline uint64_t g_alloc_bytes = 0;
inline uint64_t g_alloc_calls = 0;

void* operator new(std::size_t size) {
  g_alloc_bytes += size;
  ++g_alloc_calls;
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
