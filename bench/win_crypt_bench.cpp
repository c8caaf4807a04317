// The tray control's text cipher on 10 MB of text with a 10 KB key, beside
// the bare work on the same data in the same run: one XOR per byte in a
// plain loop. "bare_ms" is that loop, "ratio" the cipher over it. The
// cipher is timed on bytes (win_crypt_bytes) and through the code-page
// conversion of the headless platform (win_crypt), as a caller sees it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "controls/quorral/win_crypt.h"
#include "platform/headless/headless_platform.h"

namespace qs {
namespace {

using Clock = std::chrono::steady_clock;

std::string bytes_of(size_t n, unsigned seed) {
  std::string s(n, '\0');
  unsigned x = seed;
  for (char& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>('a' + (x >> 16) % 26);
  }
  return s;
}

// A key of even length n whose terms (code + position) cancel in pairs, so
// the cipher can form every code: "b" at odd positions j and "a" at the
// even ones give 'b' + j = 'a' + (j + 1). Longer keys with no cancelling
// would reach codes above 255 and fail.
std::string key_of(size_t n) {
  std::string key(n, 'a');
  for (size_t i = 0; i < n; i += 2) key[i] = 'b';
  return key;
}

void plain_loop(std::string& data, unsigned char x) {
  for (char& c : data) c = static_cast<char>(static_cast<unsigned char>(c) ^ x);
}

template <class Cipher>
void beside_plain_loop(benchmark::State& state, Cipher cipher) {
  const std::string text = bytes_of(10u << 20, 1);
  const std::string key = key_of(10u << 10);
  double cipher_s = 0, bare_s = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    size_t out = cipher(text, key);
    const auto t1 = Clock::now();
    std::string copy = text;
    plain_loop(copy, 0x2A);
    benchmark::DoNotOptimize(copy.data());
    const auto t2 = Clock::now();
    if (out != text.size()) state.SkipWithError("wrong result size");
    const double c = std::chrono::duration<double>(t1 - t0).count();
    cipher_s += c;
    bare_s += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(c);
  }
  const double n = double(state.iterations());
  state.counters["bare_ms"] = bare_s / n * 1e3;
  state.counters["ratio"] = bare_s > 0 ? cipher_s / bare_s : 0;
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_WinCryptBytes(benchmark::State& state) {
  beside_plain_loop(state, [](const std::string& text, const std::string& key) {
    std::string out = win_crypt_bytes(text, key);
    benchmark::DoNotOptimize(out.data());
    return out.size();
  });
}

void BM_WinCryptThroughCodePage(benchmark::State& state) {
  HeadlessPlatform platform;
  const std::string text = bytes_of(10u << 20, 1);
  const std::string key = key_of(10u << 10);
  const std::u16string t(text.begin(), text.end()), k(key.begin(), key.end());
  beside_plain_loop(state, [&](const std::string&, const std::string&) {
    std::u16string out = win_crypt(platform, t, k);
    benchmark::DoNotOptimize(out.data());
    return out.size();
  });
}

BENCHMARK(BM_WinCryptBytes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WinCryptThroughCodePage)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qs
