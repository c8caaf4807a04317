// The software region engine beside gdi32's own region calls, in the same
// process: building a button's star (two winding triangles joined over a
// box) and its ellipse at 100 and 1,000 pixels square, each built and
// deleted again. For each shape and size it prints the median time per
// build over the runs for the engine, for the bare system calls, and their
// ratio.
//
//   qs_win32_region_bench [runs]
// Default: 5 runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/bench_timing.h"
#include "platform/region_engine.h"

namespace {

using namespace qs;
using bench::median;
using bench::time_per_call;

// The star of a w x h box as the button builds it with no press.
void engine_star(SoftwareRegions& r, int w, int h) {
  const RegionPoint t1[] = {{w / 2, h}, {0, h / 4}, {w, h / 4}};
  const RegionPoint t2[] = {{w / 2, 0}, {0, 3 * h / 4}, {w, 3 * h / 4}};
  RegionHandle a = r.create_polygon_rgn(t1, 3, kWinding);
  RegionHandle b = r.create_polygon_rgn(t2, 3, kWinding);
  RegionHandle star = r.create_rect_rgn(0, 0, w, h);
  r.combine_rgn(star, a, b, kRgnOr);
  r.delete_object(b);
  r.delete_object(a);
  r.delete_object(star);
}

void bare_star(int w, int h) {
  const POINT t1[] = {{w / 2, h}, {0, h / 4}, {w, h / 4}};
  const POINT t2[] = {{w / 2, 0}, {0, 3 * h / 4}, {w, 3 * h / 4}};
  HRGN a = CreatePolygonRgn(t1, 3, WINDING);
  HRGN b = CreatePolygonRgn(t2, 3, WINDING);
  HRGN star = CreateRectRgn(0, 0, w, h);
  CombineRgn(star, a, b, RGN_OR);
  DeleteObject(b);
  DeleteObject(a);
  DeleteObject(star);
}

void engine_ellipse(SoftwareRegions& r, int w, int h) {
  r.delete_object(r.create_elliptic_rgn(0, 0, w, h));
}

void bare_ellipse(int w, int h) { DeleteObject(CreateEllipticRgn(0, 0, w, h)); }

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  SoftwareRegions engine;
  std::printf("%-10s %6s %14s %14s %8s\n", "shape", "size", "engine_us", "bare_gdi_us", "ratio");
  struct Work {
    const char* name;
    std::function<void(int)> engine;
    std::function<void(int)> bare;
  };
  const Work works[] = {
      {"star", [&](int s) { engine_star(engine, s, s); }, [](int s) { bare_star(s, s); }},
      {"ellipse", [&](int s) { engine_ellipse(engine, s, s); }, [](int s) { bare_ellipse(s, s); }},
  };
  for (const Work& work : works) {
    for (int size : {100, 1000}) {
      std::vector<double> mine;
      std::vector<double> bare;
      for (int run = 0; run < runs; ++run) {
        mine.push_back(time_per_call([&] { work.engine(size); }));
        bare.push_back(time_per_call([&] { work.bare(size); }));
      }
      const double m = median(mine);
      const double b = median(bare);
      std::printf("%-10s %6d %14.2f %14.2f %8.2f\n", work.name, size, m, b, m / b);
    }
  }
  if (engine.live_regions() != 0) {
    std::printf("the engine leaked %d regions\n", engine.live_regions());
    return 1;
  }
  return 0;
}
