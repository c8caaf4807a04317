// One layout pass of a ShapeButton on a real window, beside the same work
// done with bare gdi32/user32 calls on the same window in the same process.
// The pass is the control's Resize (pixel scale, inset, outline regions,
// working copy, SetWindowRgn with redraw, caption and picture moves, the
// copy deleted), for the star and the ellipse at 100 and 1,000 pixels
// square, released and pressed (BevelWidth 2). The bare calls are what the
// pass asks of the system: CreatePolygonRgn/CreateRectRgn/CombineRgn (star)
// or CreateEllipticRgn (ellipse), the copy by CreateEllipticRgn and
// CombineRgn, SetWindowRgn with redraw, the repaints of the windowless
// caption where its moves change its place (a pressed pass moves it out to
// the full width and back in to the inset; a released pass leaves it where
// it was), and DeleteObject of the copy. The pass and the bare calls are
// timed call by call in alternating order on the same window, first without
// painting in between, then each followed by the paint it asks for.
//
// Tables, each the median over the runs of microseconds per call:
//   pass: the control's pass, the bare calls, their ratio (unpainted and
//         painted), and what each allocated through operator new per pass
//         (this program replaces it; gdi32's own allocations happen inside
//         the system on both sides and are not counted);
//   parts: the pass's parts through the platform layer beside their bare calls;
//   engine: the software region engine building and releasing the outline
//         beside gdi32 building and releasing the same outline.
//
//   qs_win32_shapebutton_bench [runs]
// Default: 5 runs.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "bench/win32_bench_window.h"
#include "controls/shapebutton/shapebutton.h"
#include "library/host.h"
#include "platform/region_engine.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_regions.h"

#include "bench/alloc_count.h"

namespace {

using namespace qs;
using bench::median;
using bench::pump;
using Clock = std::chrono::steady_clock;

double us_of(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// The median microseconds of one call of `mine` and of `bare`, timed call
// by call in alternating order over about 100 ms, so a burst of load on
// the machine (or in the Wine server both sides talk to) hits both alike.
// Both run once untimed and the window is painted first (see time_per_call);
// both must leave the window in the same state.
std::pair<double, double> paired(HWND top, const std::function<void()>& mine,
                                 const std::function<void()>& bare) {
  mine();
  bare();
  pump(top);
  const double first = std::max(1.0, us_of(mine) + us_of(bare));
  const int pairs = std::clamp(static_cast<int>(100000 / first), 15, 1000);
  std::vector<double> a, b;
  for (int i = 0; i < pairs; ++i) {
    if (i % 2 == 0) {
      a.push_back(us_of(mine));
      b.push_back(us_of(bare));
    } else {
      b.push_back(us_of(bare));
      a.push_back(us_of(mine));
    }
  }
  pump(top);
  return {median(a), median(b)};
}

// Microseconds per call of work, over enough calls to last about 50 ms.
// The work runs once untimed and the window is painted first: a window
// region that changes shape leaves its parent with exposed parts to paint,
// and until they are painted every later SetWindowRgn with redraw costs
// many times more, so the work is always timed from the state it keeps
// itself (the same region on a painted window).
double time_per_call(HWND top, const std::function<void()>& work) {
  work();
  pump(top);
  return bench::time_per_call(work);
}



// Bytes and calls of operator new during one run of work.
std::pair<uint64_t, uint64_t> allocated_by(const std::function<void()>& work) {
  const uint64_t bytes = g_alloc_bytes, calls = g_alloc_calls;
  work();
  return {g_alloc_bytes - bytes, g_alloc_calls - calls};
}

int32_t round_even(float v) { return static_cast<int32_t>(std::nearbyint(double(v))); }

// The outline's box and vertices as the pass computes them.
struct Outline {
  int32_t shape;
  int32_t d, r, b, mid, q1, q3;
  Outline(int32_t s, float df, float rf, float bf)
      : shape(s), d(round_even(df)), r(round_even(rf)), b(round_even(bf)),
        mid(round_even(rf / 2)), q1(round_even(bf / 4)), q3(round_even(3 * (bf / 4))) {}
};

HRGN gdi_outline(const Outline& o) {
  if (o.shape != Star) return CreateEllipticRgn(o.d, o.d, o.r, o.b);
  const POINT down[] = {{o.mid, o.b}, {o.d, o.q1}, {o.r, o.q1}};
  const POINT up[] = {{o.mid, o.d}, {o.d, o.q3}, {o.r, o.q3}};
  HRGN t1 = CreatePolygonRgn(down, 3, WINDING);
  HRGN t2 = CreatePolygonRgn(up, 3, WINDING);
  HRGN star = CreateRectRgn(o.d, o.d, o.r, o.b);
  CombineRgn(star, t1, t2, RGN_OR);
  DeleteObject(t2);
  DeleteObject(t1);
  return star;
}

RegionHandle layer_outline(Regions& rg, const Outline& o) {
  if (o.shape != Star) return rg.create_elliptic_rgn(o.d, o.d, o.r, o.b);
  const RegionPoint down[] = {{o.mid, o.b}, {o.d, o.q1}, {o.r, o.q1}};
  const RegionPoint up[] = {{o.mid, o.d}, {o.d, o.q3}, {o.r, o.q3}};
  const RegionHandle t1 = rg.create_polygon_rgn(down, 3, kWinding);
  const RegionHandle t2 = rg.create_polygon_rgn(up, 3, kWinding);
  const RegionHandle star = rg.create_rect_rgn(o.d, o.d, o.r, o.b);
  rg.combine_rgn(star, t1, t2, kRgnOr);
  rg.delete_object(t2);
  rg.delete_object(t1);
  return star;
}

// The bare calls of one pass on window `hwnd`.
struct BarePass {
  HWND hwnd;
  Outline outline;
  bool pressed;
  RECT caption_full;   // the caption after its first move
  RECT caption_inset;  // the caption after its second move

  void run() const {
    HRGN region = gdi_outline(outline);
    HRGN copy = CreateEllipticRgn(0, 0, 100, 100);
    CombineRgn(copy, region, region, RGN_COPY);
    SetWindowRgn(hwnd, region, TRUE);
    if (pressed) {
      // The windowless caption moves out and back: its old and new places
      // are repainted each time.
      InvalidateRect(hwnd, &caption_inset, FALSE);
      InvalidateRect(hwnd, &caption_full, FALSE);
      InvalidateRect(hwnd, &caption_full, FALSE);
      InvalidateRect(hwnd, &caption_inset, FALSE);
    }
    DeleteObject(copy);
  }
};

RECT pixels(const Bounds& b) {
  const LONG left = std::lround(b.left), top = std::lround(b.top);
  return RECT{left, top, left + std::lround(b.width), top + std::lround(b.height)};
}

struct Case {
  int32_t shape;
  int size;
  bool pressed;
};

const char* shape_name(int32_t shape) { return shape == Star ? "star" : "ellipse"; }

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  const HWND top = bench::open_top_window(L"QsShapeButtonBench", L"shape button bench",
                                          WS_POPUP, 1000, 1000);
  pump(top);

  win32::Win32Platform& platform = win32::Win32Platform::current();
  win32::Win32Regions& layer = platform.win32_regions();
  NullHost host;
  SoftwareRegions engine;

  const Case cases[] = {{Star, 100, false},    {Star, 100, true},    {Star, 1000, false},
                        {Star, 1000, true},    {Elliptical, 100, false}, {Elliptical, 100, true},
                        {Elliptical, 1000, false}, {Elliptical, 1000, true}};

  std::string pass_table, parts_table, engine_table;
  char line[256];
  bool faults = false;
  for (const Case& c : cases) {
    ShapeButton button(platform.create_surface(), host);
    button.InitProperties();
    auto& surface = dynamic_cast<win32::Win32Surface&>(button.surface());
    surface.attach(top, RECT{0, 0, c.size, c.size});
    button.set_ButtonShape(c.shape);
    button.set_Value(c.pressed);
    pump(top);
    const float sw = surface.scale_width(), sh = surface.scale_height();
    if (surface.scale_mode() != 3 || sw != float(c.size) || sh != float(c.size)) {
      std::fprintf(stderr, "the surface is %g x %g in scale %d, not %d pixels square\n", sw, sh,
                   surface.scale_mode(), c.size);
      return 1;
    }
    const HWND hwnd = surface.hwnd();
    const float d = c.pressed ? float(button.BevelWidth()) : 0.0f;
    const Outline outline(c.shape, d, sw - 2 * d, sh - 2 * d);
    const Bounds inset = button.Label1().bounds();
    const RECT caption_inset = pixels(inset);
    const RECT caption_full = pixels(Bounds{0, inset.top, sw, inset.height});
    const BarePass bare{hwnd, outline, c.pressed, caption_full, caption_inset};

    // The bare calls must leave the window as the pass does.
    HRGN by_pass = CreateRectRgn(0, 0, 0, 0);
    HRGN by_bare = CreateRectRgn(0, 0, 0, 0);
    button.Resize();
    GetWindowRgn(hwnd, by_pass);
    bare.run();
    GetWindowRgn(hwnd, by_bare);
    if (CombineRgn(by_bare, by_bare, by_pass, RGN_XOR) != NULLREGION) {
      std::fprintf(stderr, "%s %d: the bare calls gave the window another region\n",
                   shape_name(c.shape), c.size);
      faults = true;
    }
    DeleteObject(by_pass);
    DeleteObject(by_bare);
    const int live_before = layer.live_regions();

    // The outline the pass hands over, to copy for the window in the parts.
    const RegionHandle proto = layer_outline(layer, outline);
    const HRGN proto_gdi = layer.live(proto);
    // Parts of the pass through the platform layer, each beside its bare calls.
    struct Part {
      const char* name;
      std::function<void()> layer, bare;
    };
    Label& label = button.Label1();
    Image& image = button.Image1();
    const float lh = inset.height;
    const Part parts[] = {
        {"regions", [&] {
           const RegionHandle r = layer_outline(layer, outline);
           const RegionHandle copy = layer.create_elliptic_rgn(0, 0, 100, 100);
           layer.combine_rgn(copy, r, r, kRgnCopy);
           layer.delete_object(copy);
           layer.delete_object(r);
         },
         [&] {
           HRGN r = gdi_outline(outline);
           HRGN copy = CreateEllipticRgn(0, 0, 100, 100);
           CombineRgn(copy, r, r, RGN_COPY);
           DeleteObject(copy);
           DeleteObject(r);
         }},
        {"SetWindowRgn", [&] {
           const RegionHandle r = layer.create_rect_rgn(0, 0, 0, 0);
           layer.combine_rgn(r, proto, proto, kRgnCopy);
           surface.set_window_rgn(r, true);
         },
         [&] {
           HRGN r = CreateRectRgn(0, 0, 0, 0);
           CombineRgn(r, proto_gdi, proto_gdi, RGN_COPY);
           SetWindowRgn(hwnd, r, TRUE);
         }},
        {"moves", [&] {
           label.move(0, sh / 2 - lh / 2, sw, lh);
           label.move(d, label.bounds().top, std::max(0.0f, sw - 3 * d), lh);
           image.move(d, d, std::max(0.0f, sw - 3 * d), std::max(0.0f, sh - 3 * d));
         },
         [&] {
           if (!c.pressed) return;
           InvalidateRect(hwnd, &caption_inset, FALSE);
           InvalidateRect(hwnd, &caption_full, FALSE);
           InvalidateRect(hwnd, &caption_full, FALSE);
           InvalidateRect(hwnd, &caption_inset, FALSE);
         }},
        {"surface reads", [&] {
           surface.set_scale_mode(3);
           volatile float w = surface.scale_width();
           volatile float h = surface.scale_height();
           (void)w;
           (void)h;
         },
         [] {}},
    };

    std::vector<double> mine, theirs, mine_painted, theirs_painted, eng, gdi;
    std::vector<std::vector<double>> part_mine(std::size(parts)), part_bare(std::size(parts));
    for (int run = 0; run < runs; ++run) {
      auto keep = [](std::vector<double>& x, std::vector<double>& y, std::pair<double, double> t) {
        x.push_back(t.first);
        y.push_back(t.second);
      };
      keep(mine, theirs, paired(top, [&] { button.Resize(); }, [&] { bare.run(); }));
      keep(mine_painted, theirs_painted,
           paired(
               top,
               [&] {
                 button.Resize();
                 pump(top);
               },
               [&] {
                 bare.run();
                 pump(top);
               }));
      for (size_t i = 0; i < std::size(parts); ++i) {
        keep(part_mine[i], part_bare[i], paired(top, parts[i].layer, parts[i].bare));
      }
      eng.push_back(time_per_call(top, [&] { engine.delete_object(layer_outline(engine, outline)); }));
      gdi.push_back(time_per_call(top, [&] { DeleteObject(gdi_outline(outline)); }));
    }
    layer.delete_object(proto);
    button.Resize();  // the window ends with the control's own region
    const auto [pass_bytes, pass_calls] = allocated_by([&] { button.Resize(); });
    const auto [bare_bytes, bare_calls] = allocated_by([&] { bare.run(); });
    if (layer.live_regions() != live_before || engine.live_regions() != 0) {
      std::fprintf(stderr, "%s %d: regions were left behind\n", shape_name(c.shape), c.size);
      faults = true;
    }

    const char* state = c.pressed ? "pressed" : "released";
    const double m = median(mine), b = median(theirs);
    const double mp = median(mine_painted), bp = median(theirs_painted);
    std::snprintf(line, sizeof line,
                  "%-8s %5d %-9s %9.1f %9.1f %6.2f %9.1f %9.1f %6.2f %7llu %7llu %7llu %7llu\n",
                  shape_name(c.shape), c.size, state, m, b, b > 0 ? m / b : 0, mp, bp,
                  bp > 0 ? mp / bp : 0,
                  static_cast<unsigned long long>(pass_bytes),
                  static_cast<unsigned long long>(bare_bytes),
                  static_cast<unsigned long long>(pass_calls),
                  static_cast<unsigned long long>(bare_calls));
    pass_table += line;
    for (size_t i = 0; i < std::size(parts); ++i) {
      const double pm = median(part_mine[i]), pb = median(part_bare[i]);
      std::snprintf(line, sizeof line, "%-8s %5d %-9s %-14s %10.2f %10.2f %10.2f\n",
                    shape_name(c.shape), c.size, state, parts[i].name, pm, pb, pm - pb);
      parts_table += line;
    }
    if (!c.pressed) {
      const double e = median(eng), g = median(gdi);
      std::snprintf(line, sizeof line, "%-8s %5d %12.2f %12.2f %7.2f\n", shape_name(c.shape),
                    c.size, e, g, g > 0 ? e / g : 0);
      engine_table += line;
    }
    surface.attach(nullptr, RECT{});
  }

  std::printf("ShapeButton layout pass on a shown window, median of %d runs, us per pass\n", runs);
  std::printf("(painted: each pass or bare run followed by the paint it asks for)\n");
  std::printf("%-8s %5s %-9s %9s %9s %6s %9s %9s %6s %7s %7s %7s %7s\n", "shape", "px", "state",
              "pass_us", "bare_us", "ratio", "painted", "bare_pnt", "ratio", "pass_B", "bare_B",
              "p_alloc", "b_alloc");
  std::fputs(pass_table.c_str(), stdout);
  std::printf("\nParts of the pass through the platform layer beside their bare calls, us\n");
  std::printf("%-8s %5s %-9s %-14s %10s %10s %10s\n", "shape", "px", "state", "part", "layer_us",
              "bare_us", "extra_us");
  std::fputs(parts_table.c_str(), stdout);
  std::printf("\nOutline built and released: software region engine beside gdi32, us\n");
  std::printf("%-8s %5s %12s %12s %7s\n", "shape", "px", "engine_us", "gdi32_us", "ratio");
  std::fputs(engine_table.c_str(), stdout);
  std::fflush(stdout);
  DestroyWindow(top);
  return faults ? 1 : 0;
}
