// Cost of building a button's star (two winding triangles joined over a box)
// and its ellipse through the software region engine, at 100 and 1,000
// pixels square. Natively there is no system region service to compare with,
// so the bare work beside it in the same iteration is copying the finished
// region's pieces into a fresh list: "bare_us" is that copy, "ratio" the
// build over the copy. (The timing program under Wine compares the engine
// with gdi32 itself.)
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "platform/region_engine.h"

namespace qs {
namespace {

using Clock = std::chrono::steady_clock;

RegionShape star(int s) {
  const RegionPoint t1[] = {{s / 2, s}, {0, s / 4}, {s, s / 4}};
  const RegionPoint t2[] = {{s / 2, 0}, {0, 3 * s / 4}, {s, 3 * s / 4}};
  return RegionShape::combine(RegionShape::polygon(t1, 3, kWinding),
                              RegionShape::polygon(t2, 3, kWinding), kRgnOr);
}

RegionShape ellipse(int s) { return RegionShape::ellipse(0, 0, s, s); }

template <RegionShape (*Build)(int)>
void build_beside_copy(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  double build_s = 0, copy_s = 0;
  size_t pieces = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    RegionShape shape = Build(size);
    benchmark::DoNotOptimize(&shape);
    const auto t1 = Clock::now();
    std::vector<RegionRect> rects = shape.rects();
    std::vector<RegionRect> copy(rects.begin(), rects.end());
    benchmark::DoNotOptimize(copy.data());
    const auto t2 = Clock::now();
    pieces = copy.size();
    build_s += std::chrono::duration<double>(t1 - t0).count();
    copy_s += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
  const double n = double(state.iterations());
  state.counters["pieces"] = double(pieces);
  state.counters["bare_us"] = copy_s / n * 1e6;
  state.counters["ratio"] = copy_s > 0 ? build_s / copy_s : 0;
}

void BM_Star(benchmark::State& state) { build_beside_copy<star>(state); }
void BM_Ellipse(benchmark::State& state) { build_beside_copy<ellipse>(state); }
BENCHMARK(BM_Star)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ellipse)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qs
