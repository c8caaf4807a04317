// One layout pass of a ShapeButton on the headless platform (the control's
// Resize: pixel scale, inset, outline regions, working copy, region handed
// to the window, caption and picture moves, release of the copy), for the
// star and the ellipse at 100 and 1,000 pixels square, released and pressed
// (BevelWidth 2). Beside it, in the same iteration, the same region calls
// made bare on a software region service of its own: the outline's
// regions, the working copy, the outline taken by a "window" that keeps
// it, the copy deleted. "bare_us" is that bare work, "ratio" the pass over
// it. "pass_B"/"bare_B" and "pass_allocs"/"bare_allocs" count what each
// allocated through operator new per pass (this program replaces it).
// "Time" is the pass alone; "CPU" covers the whole iteration, pass and bare.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "controls/shapebutton/shape_outline.h"
#include "controls/shapebutton/shapebutton.h"
#include "library/host.h"
#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_surface.h"
#include "platform/region_engine.h"

#include "bench/alloc_count.h"

namespace qs {
namespace {

using Clock = std::chrono::steady_clock;

struct Allocs {
  uint64_t bytes = g_alloc_bytes;
  uint64_t calls = g_alloc_calls;
};

// The bare region calls of one pass for an outline in the box (d, d)-(r, b).
class BarePass {
 public:
  BarePass(int32_t shape, float d, float r, float b) : shape_(shape) {
    di_ = nearest(d);
    ri_ = nearest(r);
    bi_ = nearest(b);
    mid_ = nearest(r / 2);
    q1_ = nearest(b / 4);
    q3_ = nearest(3 * (b / 4));
  }

  void run() {
    RegionHandle outline = 0;
    if (shape_ == Star) {
      const RegionPoint down[] = {{mid_, bi_}, {di_, q1_}, {ri_, q1_}};
      const RegionPoint up[] = {{mid_, di_}, {di_, q3_}, {ri_, q3_}};
      const RegionHandle t1 = regions_.create_polygon_rgn(down, 3, kWinding);
      const RegionHandle t2 = regions_.create_polygon_rgn(up, 3, kWinding);
      outline = regions_.create_rect_rgn(di_, di_, ri_, bi_);
      regions_.combine_rgn(outline, t1, t2, kRgnOr);
      regions_.delete_object(t2);
      regions_.delete_object(t1);
    } else {
      outline = regions_.create_elliptic_rgn(di_, di_, ri_, bi_);
    }
    const RegionHandle copy = regions_.create_elliptic_rgn(0, 0, 100, 100);
    regions_.combine_rgn(copy, outline, outline, kRgnCopy);
    // The window takes the outline and lets its previous one go.
    regions_.take(outline, window_);
    regions_.delete_object(copy);
  }

  const RegionShape& window() const { return window_; }
  int live() const { return regions_.live_regions(); }

 private:
  SoftwareRegions regions_;
  RegionShape window_;
  int32_t shape_;
  int32_t di_, ri_, bi_, mid_, q1_, q3_;
};

// args: shape, size in pixels, pressed (0 or 1).
void BM_LayoutPass(benchmark::State& state) {
  const auto shape = static_cast<int32_t>(state.range(0));
  const auto size = static_cast<float>(state.range(1));
  const bool pressed = state.range(2) != 0;

  HeadlessPlatform platform;
  HeadlessDriver driver(platform);
  NullHost host;
  ShapeButton button(platform.create_surface(), host);
  button.InitProperties();
  // The driver sizes the surface in twips; the pass then works in pixels.
  const float twips = platform.twips_per_pixel_x();
  driver.resize(button.surface(), size * twips, size * twips);
  button.set_ButtonShape(shape);
  // Outside mouse handling Value sets the press state the later passes see.
  button.set_Value(pressed);
  auto& surface = dynamic_cast<HeadlessSurface&>(button.surface());
  state.SetLabel(shape == Star ? (pressed ? "star, pressed" : "star, released")
                               : (pressed ? "ellipse, pressed" : "ellipse, released"));

  const float d = pressed ? float(button.BevelWidth()) : 0.0f;
  BarePass bare(shape, d, size - 2 * d, size - 2 * d);

  double pass_s = 0, bare_s = 0;
  uint64_t pass_bytes = 0, pass_calls = 0, bare_bytes = 0, bare_calls = 0;
  for (auto _ : state) {
    const Allocs a0;
    const auto t0 = Clock::now();
    button.Resize();
    const auto t1 = Clock::now();
    const Allocs a1;
    bare.run();
    const auto t2 = Clock::now();
    const Allocs a2;
    pass_bytes += a1.bytes - a0.bytes;
    pass_calls += a1.calls - a0.calls;
    bare_bytes += a2.bytes - a1.bytes;
    bare_calls += a2.calls - a1.calls;
    const double p = std::chrono::duration<double>(t1 - t0).count();
    pass_s += p;
    bare_s += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(p);
  }

  // The bare calls must build what the pass built, and both must clean up.
  const RegionShape* window = surface.window_region();
  if (window == nullptr || !(*window == bare.window())) {
    state.SkipWithError("the bare calls built another region than the pass");
  } else if (platform.software_regions().live_regions() != 0 || bare.live() != 0) {
    state.SkipWithError("a region was left behind");
  } else if (surface.scale_width() != size) {
    state.SkipWithError("the surface is not in pixels");
  }
  const double n = double(state.iterations());
  state.counters["pieces"] = double(window != nullptr ? window->rects().size() : 0);
  state.counters["bare_us"] = bare_s / n * 1e6;
  state.counters["ratio"] = bare_s > 0 ? pass_s / bare_s : 0;
  state.counters["pass_B"] = double(pass_bytes) / n;
  state.counters["bare_B"] = double(bare_bytes) / n;
  state.counters["pass_allocs"] = double(pass_calls) / n;
  state.counters["bare_allocs"] = double(bare_calls) / n;
}

void layout_args(benchmark::internal::Benchmark* b) {
  b->ArgNames({"shape", "px", "pressed"});
  for (int64_t shape : {int64_t{Star}, int64_t{Elliptical}}) {
    for (int64_t size : {100, 1000}) {
      for (int64_t pressed : {0, 1}) b->Args({shape, size, pressed});
    }
  }
}
BENCHMARK(BM_LayoutPass)->Apply(layout_args)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qs
