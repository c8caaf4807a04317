// The software region engine against the system's own region calls: every
// case is built twice through the Regions interface, once by the engine and
// once by gdi32, and the two point sets must be equal. They are compared by
// turning the engine's pieces into a system region and asking CombineRgn
// for the exclusive or, which must be empty; every answer a case collects on
// the way (the kinds CombineRgn returns, PtInRegion) must be equal too.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "controls/shapebutton/shape_outline.h"
#include "controls/shapebutton/shapebutton.h"
#include "platform/region_engine.h"
#include "platform/win32/win32_regions.h"

namespace qs {
namespace {

using win32::Win32Regions;

// What a case saw besides its final region: the results of the calls it made.
using Answers = std::vector<int64_t>;
// Builds a region through the service; 0 for no region. Intermediate regions
// are deleted by the builder.
using Builder = std::function<RegionHandle(Regions&, Answers&)>;

struct Case {
  std::string name;
  Builder build;
  // The box the shape must lie in, where known: a system region with a
  // piece outside it is malformed.
  std::optional<RegionRect> box = {};
};

// The box with its edges sorted, and one pixel more on each side (an empty
// box gives the column or row beside it).
RegionRect box_of(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return {std::min(left, right) - 1, std::min(top, bottom) - 1, std::max(left, right) + 1,
          std::max(top, bottom) + 1};
}

HRGN region_from_rects(const std::vector<RegionRect>& rects) {
  std::vector<unsigned char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(rects.size());
  data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  RECT bound{0, 0, 0, 0};
  auto* out = reinterpret_cast<RECT*>(data->Buffer);
  for (size_t i = 0; i < rects.size(); ++i) {
    out[i] = {rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
    if (i == 0) {
      bound = out[i];
    } else {
      bound.left = std::min(bound.left, out[i].left);
      bound.top = std::min(bound.top, out[i].top);
      bound.right = std::max(bound.right, out[i].right);
      bound.bottom = std::max(bound.bottom, out[i].bottom);
    }
  }
  data->rdh.rcBound = bound;
  return ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

// The points where the two regions differ, as pieces (empty when equal).
std::vector<RegionRect> difference(HRGN system, const std::vector<RegionRect>& engine) {
  HRGN mine = region_from_rects(engine);
  HRGN diff = CreateRectRgn(0, 0, 0, 0);
  std::vector<RegionRect> out;
  if (mine == nullptr || diff == nullptr) {
    out.push_back({INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN});
  } else if (CombineRgn(diff, system, mine, RGN_XOR) != NULLREGION) {
    // Under Wine an ellipse's row that narrows to nothing stays in the
    // system's region as an empty piece, and the exclusive or keeps it;
    // it holds no point.
    for (const RegionRect& r : Win32Regions::rects_of(diff)) {
      if (r.left < r.right && r.top < r.bottom) out.push_back(r);
    }
  }
  if (mine != nullptr) DeleteObject(mine);
  if (diff != nullptr) DeleteObject(diff);
  return out;
}

std::string describe(const std::vector<RegionRect>& rects, size_t limit = 12) {
  std::string s;
  for (size_t i = 0; i < rects.size() && i < limit; ++i) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "(%d,%d)-(%d,%d) ", rects[i].left, rects[i].top,
                  rects[i].right, rects[i].bottom);
    s += buf;
  }
  if (rects.size() > limit) s += "...";
  return s;
}

// Whether the system's region is malformed: a piece reversed, far outside
// the shape's box, or an empty piece away from the box's middle (the system
// lists a row of an ellipse that narrows to nothing as an empty piece in
// the middle). Under Wine the rows of a very narrow, tall ellipse that its
// tracing never reaches hold uninitialised values; the engine continues
// those rows and counts them (curves_continued), and such cases are not
// compared. Anywhere else a malformed system region fails the case.
bool malformed(const std::vector<RegionRect>& rects, const std::optional<RegionRect>& box) {
  for (const RegionRect& r : rects) {
    if (r.left > r.right || r.top >= r.bottom) return true;
    if (std::abs(r.left) > 100000 || std::abs(r.right) > 100000) return true;
    if (box && r.left < r.right &&
        (r.left < box->left || r.right > box->right || r.top < box->top ||
         r.bottom > box->bottom)) {
      return true;
    }
    if (box && r.left == r.right && std::abs(2 * r.left - (box->left + box->right)) > 1) {
      return true;
    }
  }
  return false;
}

// Runs every case through both services and returns how many disagreed,
// reporting the first few. Every case must agree exactly, except those
// where the engine continued rows the system leaves unfilled.
int compare_all(const std::vector<Case>& cases, int* compared = nullptr) {
  Win32Regions system;
  SoftwareRegions engine;
  int failures = 0;
  int unfilled = 0;
  std::string unfilled_names;
  // Compared and disagreeing cases by kind (the name up to its first digit).
  struct Counts {
    int compared = 0;
    int disagree = 0;
  };
  std::map<std::string, Counts> tally;
  for (const Case& c : cases) {
    Answers system_answers;
    Answers engine_answers;
    RegionHandle s = c.build(system, system_answers);
    const int64_t continued_before = engine.curves_continued();
    RegionHandle e = c.build(engine, engine_answers);
    if (engine.curves_continued() != continued_before) {
      if (++unfilled <= 20) unfilled_names += c.name + "; ";
      if (s != 0) system.delete_object(s);
      if (e != 0) engine.delete_object(e);
      continue;
    }
    std::string problem;
    if ((s == 0) != (e == 0)) {
      problem = std::string("one service made no region: system ") + (s ? "made" : "did not") +
                ", engine " + (e ? "made" : "did not");
    } else if (s != 0 && malformed(system.region_rects(s), c.box)) {
      problem = "the system's region is malformed: " + describe(system.region_rects(s), 40);
    } else if (s != 0) {
      std::vector<RegionRect> diff = difference(system.live(s), engine.region_rects(e));
      if (!diff.empty()) {
        problem = "points differ: " + describe(diff) + "\n  system: " +
                  describe(system.region_rects(s), 40) + "\n  engine: " +
                  describe(engine.region_rects(e), 40);
      }
    }
    if (problem.empty() && system_answers != engine_answers) problem = "call results differ";
    if (s != 0) system.delete_object(s);
    if (e != 0) engine.delete_object(e);
    Counts& kind = tally[c.name.substr(0, c.name.find_first_of("0123456789-("))];
    ++kind.compared;
    if (!problem.empty()) {
      ++kind.disagree;
      if (++failures <= 15) ADD_FAILURE() << c.name << ": " << problem;
    }
    if (compared != nullptr) ++*compared;
  }
  for (const auto& [kind, counts] : tally) {
    std::printf("[ kind     ] %-28s %6d compared %6d disagree\n", kind.c_str(), counts.compared,
                counts.disagree);
  }
  if (unfilled > 0) {
    std::printf("[ skipped  ] %d cases with rows the system leaves unfilled: %s\n", unfilled,
                unfilled_names.c_str());
  }
  // Only the few narrow, tall ellipses are left out; an engine that marked
  // ordinary curves as continued would hide them from the comparison.
  EXPECT_LE(unfilled * 10, static_cast<int>(cases.size()))
      << unfilled << " of " << cases.size() << " cases left out";
  EXPECT_EQ(system.live_regions(), 0) << "a case leaked a system region";
  EXPECT_EQ(engine.live_regions(), 0) << "a case leaked an engine region";
  return failures;
}

std::string size_name(const char* what, int w, int h, int d) {
  return std::string(what) + " " + std::to_string(w) + "x" + std::to_string(h) + " d" +
         std::to_string(d);
}

// The button outlines, built by the layout pass's own outline code from the
// surface size and the inset. The star is a union, and the kind of region
// it came out as is compared too; a curve's kind is not, because Wine
// leaves a curve's equal neighbouring rows apart and calls a box made that
// way complex.
const char* const kOutlines[] = {"ellipse",  "circle",  "round rect", "round square",
                                 "triangle", "octagon", "star"};

RegionHandle outline(Regions& r, Answers& answers, int shape, int sw, int sh, int inset) {
  const float d = static_cast<float>(inset);
  const RegionHandle h =
      build_outline(r, shape, d, static_cast<float>(sw) - 2 * d, static_cast<float>(sh) - 2 * d);
  if (h != 0 && shape == Star) answers.push_back(r.combine_rgn(h, h, 0, kRgnCopy));
  return h;
}

void add_outlines(std::vector<Case>& cases, int w, int h) {
  for (int shape = 0; shape < 7; ++shape) {
    for (int inset : {0, 2, 20}) {
      const int32_t right = w - 2 * inset;
      const int32_t bottom = h - 2 * inset;
      const int32_t m = right > bottom ? bottom : right;
      const bool square = shape == 1 || shape == 3;
      std::optional<RegionRect> box;
      // Polygon vertices may lie outside the box of a pressed tiny button.
      if (shape < 4) box = box_of(inset, inset, square ? m : right, square ? m : bottom);
      cases.push_back({size_name(kOutlines[shape], w, h, inset),
                       [=](Regions& r, Answers& a) { return outline(r, a, shape, w, h, inset); },
                       box});
    }
  }
}

TEST(RegionDifferential, ButtonOutlinesAtEverySizeUpTo64) {
  std::vector<Case> cases;
  for (int w = 1; w <= 64; ++w) {
    for (int h = 1; h <= 64; ++h) add_outlines(cases, w, h);
  }
  int compared = 0;
  EXPECT_EQ(compare_all(cases, &compared), 0);
  std::printf("[ compared ] %d outline cases up to 64 x 64\n", compared);
}

TEST(RegionDifferential, ButtonOutlinesAtLargerSizes) {
  std::vector<Case> cases;
  const int sizes[] = {65, 80, 90, 99, 100, 103, 119, 128, 200, 255, 256, 333, 480, 511, 640, 777, 1000};
  for (int w : sizes) {
    for (int h : sizes) {
      if ((w * 7 + h * 3) % 4 == 0 || w == h || w == 1000 || h == 1000) add_outlines(cases, w, h);
    }
  }
  // The worked sizes of the layout pass.
  add_outlines(cases, 119, 103);
  add_outlines(cases, 90, 90);
  add_outlines(cases, 75, 40);
  add_outlines(cases, 73, 40);
  add_outlines(cases, 200, 80);
  int compared = 0;
  EXPECT_EQ(compare_all(cases, &compared), 0);
  std::printf("[ compared ] %d outline cases at larger sizes\n", compared);
}

// The message box's speech bubble: an ellipse with spike triangles, its rim
// left by the exclusive or of the shape at inset 0 and at inset 3.
RegionHandle bubble(Regions& r, Answers& answers, int w, int h, int spike, bool rim) {
  RegionHandle outer = 0;
  RegionHandle result = 0;
  for (int i : rim ? std::vector<int>{0, 3} : std::vector<int>{0}) {
    const float fi = static_cast<float>(i);
    const float hw = (static_cast<float>(w) - 2 * fi) / 2;
    const float w10 = (static_cast<float>(w) - 2 * fi) / 10;
    const float hh = (static_cast<float>(h) - 2 * fi) / 2;
    const float h10 = (static_cast<float>(h) - 2 * fi) / 10;
    RegionHandle s = r.create_elliptic_rgn(i, i, w - i, h - i);
    auto add = [&](RegionPoint a, RegionPoint b, RegionPoint c) {
      const RegionPoint p[] = {a, b, c};
      RegionHandle t = r.create_polygon_rgn(p, 3, kWinding);
      answers.push_back(r.combine_rgn(s, s, t, kRgnOr));
      r.delete_object(t);
    };
    const int32_t n_hw = nearest(hw), n_hh = nearest(hh);
    const int32_t n_w10 = nearest(w10), n_h10 = nearest(h10);
    const int32_t n_9w10 = nearest(9 * w10), n_9h10 = nearest(9 * h10);
    if (spike == 1 || spike == 5) add({i, i}, {n_hw, n_h10}, {n_w10, n_hh});
    if (spike == 2 || spike == 5) add({w - i, i}, {n_hw, n_h10}, {n_9w10, n_hh});
    if (spike == 3 || spike == 5) add({w - i, h - i}, {n_hw, n_9h10}, {n_9w10, n_hh});
    if (spike == 4 || spike == 5) add({i, h - i}, {n_w10, n_hh}, {n_hw, n_9h10});
    if (i == 0) {
      outer = s;
      result = r.create_elliptic_rgn(i, i, w - i, h - i);
      answers.push_back(r.combine_rgn(result, s, s, kRgnOr));
    } else {
      answers.push_back(r.combine_rgn(result, s, result, kRgnXor));
      r.delete_object(s);
    }
  }
  if (rim) r.delete_object(outer);
  if (!rim) {
    r.delete_object(result);
    return outer;
  }
  return result;
}

TEST(RegionDifferential, SpeechBubbles) {
  std::vector<Case> cases;
  const int sizes[][2] = {{1, 1},     {6, 6},     {7, 9},     {20, 12},   {40, 30},
                          {100, 60},  {161, 97},  {240, 180}, {320, 200}, {401, 303},
                          {640, 480}, {1000, 700}};
  for (const auto& size : sizes) {
    for (int spike = 0; spike <= 6; ++spike) {
      for (bool rim : {false, true}) {
        int w = size[0], h = size[1];
        cases.push_back({size_name(rim ? "bubble rim" : "bubble", w, h, spike),
                         [=](Regions& r, Answers& a) { return bubble(r, a, w, h, spike, rim); },
                         // The inner ellipse of a rim reverses its box on a
                         // bubble narrower than the rim, so only a whole
                         // bubble has a box to stay in.
                         rim ? std::nullopt : std::optional<RegionRect>(box_of(0, 0, w, h))});
      }
    }
  }
  int compared = 0;
  EXPECT_EQ(compare_all(cases, &compared), 0);
  std::printf("[ compared ] %d speech bubble cases\n", compared);
}

// Combinations in every mode of overlapping, touching, disjoint, nested and
// empty inputs, with the kinds CombineRgn returns.
TEST(RegionDifferential, EveryCombinationMode) {
  using Make = std::function<RegionHandle(Regions&)>;
  struct Input {
    const char* name;
    Make make;
  };
  const Input inputs[] = {
      {"box", [](Regions& r) { return r.create_rect_rgn(10, 10, 50, 40); }},
      {"overlapping box", [](Regions& r) { return r.create_rect_rgn(30, 20, 70, 60); }},
      {"touching box", [](Regions& r) { return r.create_rect_rgn(50, 10, 90, 40); }},
      {"box below", [](Regions& r) { return r.create_rect_rgn(10, 40, 50, 80); }},
      {"far box", [](Regions& r) { return r.create_rect_rgn(200, 200, 210, 230); }},
      {"nested box", [](Regions& r) { return r.create_rect_rgn(20, 20, 30, 30); }},
      {"empty", [](Regions& r) { return r.create_rect_rgn(5, 5, 5, 9); }},
      {"ellipse", [](Regions& r) { return r.create_elliptic_rgn(0, 0, 60, 45); }},
      {"round rect", [](Regions& r) { return r.create_round_rect_rgn(25, 5, 95, 55, 30, 20); }},
      {"triangle",
       [](Regions& r) {
         const RegionPoint p[] = {{0, 70}, {80, 70}, {40, 0}};
         return r.create_polygon_rgn(p, 3, kWinding);
       }},
  };
  std::vector<Case> cases;
  for (const Input& a : inputs) {
    for (const Input& b : inputs) {
      for (int32_t mode = 0; mode <= 6; ++mode) {
        Make ma = a.make;
        Make mb = b.make;
        cases.push_back({std::string(a.name) + " mode " + std::to_string(mode) + " " + b.name,
                         [=](Regions& r, Answers& answers) {
                           RegionHandle x = ma(r);
                           RegionHandle y = mb(r);
                           RegionHandle dest = r.create_rect_rgn(1, 2, 3, 4);
                           answers.push_back(r.combine_rgn(dest, x, y, mode));
                           // The destination may be a source.
                           answers.push_back(r.combine_rgn(x, x, y, mode));
                           answers.push_back(r.pt_in_region(dest, 40, 30));
                           r.delete_object(x);
                           r.delete_object(y);
                           return dest;
                         }});
      }
    }
  }
  int compared = 0;
  EXPECT_EQ(compare_all(cases, &compared), 0);
  std::printf("[ compared ] %d combinations\n", compared);
}

// Odd inputs: reversed and empty boxes, corner ellipses larger than their
// box, tiny and thin curves, colinear and self-crossing polygons in both
// fill modes.
TEST(RegionDifferential, DegenerateInputs) {
  std::vector<Case> cases;
  auto add = [&](std::string name, Builder b, std::optional<RegionRect> box = {}) {
    cases.push_back({std::move(name), std::move(b), box});
  };
  const int boxes[][4] = {{0, 0, 10, 10},  {10, 10, 0, 0},  {10, 0, 0, 10}, {0, 10, 10, 0},
                          {5, 5, 5, 5},    {0, 0, 0, 10},   {0, 0, 10, 0},  {-20, -10, -5, -1},
                          {-5, -5, 5, 5},  {0, 0, 1, 1},    {0, 0, 2, 2},   {0, 0, 3, 3},
                          {0, 0, 1, 40},   {0, 0, 40, 1},   {0, 0, 2, 40},  {0, 0, 40, 2},
                          {3, 7, 4, 100},  {1, 1, 300, 3}};
  for (const auto& b : boxes) {
    std::string box = "(" + std::to_string(b[0]) + "," + std::to_string(b[1]) + "," +
                      std::to_string(b[2]) + "," + std::to_string(b[3]) + ")";
    add("rect " + box, [=](Regions& r, Answers&) { return r.create_rect_rgn(b[0], b[1], b[2], b[3]); });
    const RegionRect limit = box_of(b[0], b[1], b[2], b[3]);
    add("ellipse " + box,
        [=](Regions& r, Answers&) { return r.create_elliptic_rgn(b[0], b[1], b[2], b[3]); },
        limit);
    const int corners[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 5}, {15, 15}, {40, 40}, {-6, -6}, {1000, 3}};
    for (const auto& c : corners) {
      add("round rect " + box + " corner " + std::to_string(c[0]) + "x" + std::to_string(c[1]),
          [=](Regions& r, Answers&) {
            return r.create_round_rect_rgn(b[0], b[1], b[2], b[3], c[0], c[1]);
          },
          limit);
    }
  }
  struct Poly {
    const char* name;
    std::vector<RegionPoint> points;
  };
  const Poly polys[] = {
      {"colinear", {{0, 0}, {5, 5}, {10, 10}}},
      {"colinear flat", {{0, 3}, {5, 3}, {10, 3}}},
      {"colinear upright", {{3, 0}, {3, 5}, {3, 10}}},
      {"two points", {{0, 0}, {5, 5}}},
      {"all one point", {{4, 4}, {4, 4}, {4, 4}}},
      {"bow tie", {{0, 0}, {20, 20}, {20, 0}, {0, 20}}},
      {"pentagram", {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}}},
      {"square twice round", {{0, 0}, {9, 0}, {9, 9}, {0, 9}, {0, 0}, {9, 0}, {9, 9}, {0, 9}}},
      {"squares opposite ways", {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}, {5, 5}, {5, 15}, {15, 15}, {15, 5}, {5, 5}}},
      {"squares same way", {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}, {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}}},
      {"thin sliver", {{0, 0}, {100, 1}, {0, 2}}},
      {"steep sliver", {{0, 0}, {1, 100}, {2, 0}}},
      {"shallow slopes", {{0, 0}, {37, 3}, {5, 11}, {-9, 4}}},
      {"negative place", {{-30, -20}, {-2, -25}, {-10, -3}}},
      {"clockwise triangle", {{0, 0}, {13, 7}, {2, 11}}},
      {"anticlockwise triangle", {{0, 0}, {2, 11}, {13, 7}}},
      {"zigzag", {{0, 0}, {10, 30}, {20, 0}, {30, 30}, {40, 0}, {40, 40}, {0, 40}}},
      {"spiral", {{0, 0}, {30, 0}, {30, 30}, {5, 30}, {5, 5}, {25, 5}, {25, 25}, {10, 25}, {10, 10}, {20, 10}, {20, 20}, {0, 20}}},
      {"half pixel edges", {{1, 1}, {4, 2}, {7, 9}, {2, 8}}},
  };
  for (const Poly& p : polys) {
    for (int32_t mode : {kAlternate, kWinding}) {
      std::vector<RegionPoint> pts = p.points;
      add(std::string(p.name) + (mode == kAlternate ? " alternate" : " winding"),
          [=](Regions& r, Answers&) {
            return r.create_polygon_rgn(pts.data(), static_cast<int32_t>(pts.size()), mode);
          });
    }
  }
  int compared = 0;
  EXPECT_EQ(compare_all(cases, &compared), 0);
  std::printf("[ compared ] %d odd inputs\n", compared);
}

// Random triangles and quadrilaterals in both fill modes, and random boxes
// for ellipses and rounded boxes: the scan conversion on many slopes.
TEST(RegionDifferential, RandomShapes) {
  std::vector<Case> cases;
  uint32_t seed = 12345;
  auto next = [&seed](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(range));
  };
  for (int k = 0; k < 1500; ++k) {
    const int n = 3 + next(4);
    std::vector<RegionPoint> pts;
    for (int i = 0; i < n; ++i) pts.push_back({next(60) - 10, next(60) - 10});
    const int32_t mode = next(2) == 0 ? kAlternate : kWinding;
    cases.push_back({"random polygon " + std::to_string(k), [=](Regions& r, Answers&) {
                       return r.create_polygon_rgn(pts.data(), n, mode);
                     }});
    const int32_t l = next(30), t = next(30), rr = next(90), b = next(90);
    const int32_t ew = next(50), eh = next(50);
    cases.push_back({"random ellipse " + std::to_string(k),
                     [=](Regions& r, Answers&) { return r.create_elliptic_rgn(l, t, rr, b); },
                     box_of(l, t, rr, b)});
    cases.push_back({"random round rect " + std::to_string(k),
                     [=](Regions& r, Answers&) {
                       return r.create_round_rect_rgn(l, t, rr, b, ew, eh);
                     },
                     box_of(l, t, rr, b)});
  }
  int compared = 0;
  EXPECT_EQ(compare_all(cases, &compared), 0);
  std::printf("[ compared ] %d random shapes\n", compared);
}

}  // namespace
}  // namespace qs
