// Cost of loading property streams through the codec into a MemoryPropertyBag,
// beside the bare work on the same bytes in the same run: copying them into a
// fresh buffer. "bare_ms" is that copy, "ratio" the load over the copy, and
// "ms_per_MB" stays flat when the load is linear in the stream's size.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/property_stream_codec.h"

namespace qs {
namespace {

using Clock = std::chrono::steady_clock;

std::u16string key_of(int64_t i) {
  std::u16string key = u"Key";
  key += utf16(std::to_string(i));
  return key;
}

// A property set of at least `bytes` bytes: distinct keys holding, in turn,
// a 100-unit text, a Long and a Double.
std::vector<uint8_t> stream_of_size(size_t bytes) {
  MemoryPropertyBag bag;
  const std::u16string text(100, u'x');
  size_t size = 12;
  for (int64_t i = 0; size < bytes; ++i) {
    std::u16string key = key_of(i);
    size += 4 + 2 * key.size() + 2;
    switch (i % 3) {
      case 0: bag.put(key, Variant(text)), size += 4 + 2 * text.size(); break;
      case 1: bag.put(key, Variant(int32_t(i))), size += 4; break;
      default: bag.put(key, Variant(double(i) / 7)), size += 8; break;
    }
  }
  return encode_property_stream(bag);
}

// A property set of n distinct keys holding Longs.
std::vector<uint8_t> stream_of_records(int64_t n) {
  MemoryPropertyBag bag;
  for (int64_t i = 0; i < n; ++i) bag.put(key_of(i), Variant(int32_t(i)));
  return encode_property_stream(bag);
}

// Times the load of `bytes` and, in the same iteration, the bare copy.
void load_beside_copy(benchmark::State& state, const std::vector<uint8_t>& bytes,
                      size_t records) {
  double load_s = 0, copy_s = 0;
  for (auto _ : state) {
    MemoryPropertyBag bag;
    const auto t0 = Clock::now();
    decode_property_stream(bytes, bag);
    const auto t1 = Clock::now();
    std::vector<uint8_t> copy(bytes.begin(), bytes.end());
    benchmark::DoNotOptimize(copy.data());
    const auto t2 = Clock::now();
    if (bag.entries().size() != records) state.SkipWithError("wrong record count");
    const double load = std::chrono::duration<double>(t1 - t0).count();
    load_s += load;
    copy_s += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(load);
  }
  const double n = double(state.iterations());
  const double mb = double(bytes.size()) / (1 << 20);
  state.counters["MB"] = mb;
  state.counters["records"] = double(records);
  state.counters["bare_ms"] = copy_s / n * 1e3;
  state.counters["ratio"] = copy_s > 0 ? load_s / copy_s : 0;
  state.counters["ms_per_MB"] = load_s / n * 1e3 / mb;
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
  state.SetComplexityN(int64_t(bytes.size()));
}

// Streams of 1 to 32 MB.
void BM_LoadStreamBySize(benchmark::State& state) {
  const std::vector<uint8_t> bytes = stream_of_size(size_t(state.range(0)) << 20);
  MemoryPropertyBag probe;
  decode_property_stream(bytes, probe);
  load_beside_copy(state, bytes, probe.entries().size());
}
BENCHMARK(BM_LoadStreamBySize)->RangeMultiplier(2)->Range(1, 32)->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Many small records: 8,192 and 65,536 records once took seconds and
// minutes; the cap, 1,048,576, is the most a stream may hold.
void BM_LoadManyKeys(benchmark::State& state) {
  const std::vector<uint8_t> bytes = stream_of_records(state.range(0));
  load_beside_copy(state, bytes, size_t(state.range(0)));
}
BENCHMARK(BM_LoadManyKeys)->Arg(8'192)->Arg(65'536)->Arg(kMaxPropertyStreamRecords)
    ->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qs
