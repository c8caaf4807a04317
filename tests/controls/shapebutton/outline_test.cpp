// The outlines as region calls: the worked vertex lists, halves to even,
// the star's union and release order, and release of everything made when
// a call fails part-way.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/shapebutton/shape_outline.h"
#include "controls/shapebutton/shapebutton.h"
#include "core/runtime_error.h"
#include "tests/support/error_of.h"

namespace qs::test {
namespace {

// Records the region calls as text; handles count from 1. Can be told to
// fail (throw) at the n-th call, as a platform call that raises an error.
class RecordingRegions : public Regions {
 public:
  std::vector<std::string> calls;
  std::map<RegionHandle, bool> live;
  int fail_at = -1;

  RegionHandle create_elliptic_rgn(int32_t l, int32_t t, int32_t r, int32_t b) override {
    return make("ellipse " + box(l, t, r, b));
  }
  RegionHandle create_round_rect_rgn(int32_t l, int32_t t, int32_t r, int32_t b, int32_t w,
                                     int32_t h) override {
    return make("roundrect " + box(l, t, r, b) + " " + std::to_string(w) + "x" + std::to_string(h));
  }
  RegionHandle create_polygon_rgn(const RegionPoint* points, int32_t count, int32_t mode) override {
    std::string text = "polygon";
    for (int32_t i = 0; i < count; ++i) {
      text += " (" + std::to_string(points[i].x) + "," + std::to_string(points[i].y) + ")";
    }
    return make(text + " mode " + std::to_string(mode));
  }
  RegionHandle create_rect_rgn(int32_t l, int32_t t, int32_t r, int32_t b) override {
    return make("rect " + box(l, t, r, b));
  }
  int32_t combine_rgn(RegionHandle d, RegionHandle a, RegionHandle b, int32_t mode) override {
    call("combine " + std::to_string(d) + " = " + std::to_string(a) + " " + std::to_string(mode) +
         " " + std::to_string(b));
    return kComplexRegion;
  }
  bool delete_object(GdiObject object) override {
    calls.push_back("delete " + std::to_string(object));
    live.erase(object);
    return true;
  }
  GdiObject get_stock_object(int32_t) override { return 0; }
  bool pt_in_region(RegionHandle, int32_t, int32_t) const override { return false; }
  std::vector<RegionRect> region_rects(RegionHandle) const override { return {}; }
  int live_regions() const override { return static_cast<int>(live.size()); }

 private:
  // Formatted in one piece (GCC 12 at -O3 warns falsely on a chain of
  // string additions here).
  static std::string box(int32_t l, int32_t t, int32_t r, int32_t b) {
    char text[64];
    std::snprintf(text, sizeof text, "(%d,%d)-(%d,%d)", int(l), int(t), int(r), int(b));
    return text;
  }
  void call(const std::string& text) {
    if (static_cast<int>(calls.size()) == fail_at) throw RuntimeError(kErrInvalidCall);
    calls.push_back(text);
  }
  RegionHandle make(const std::string& text) {
    call(text);
    const RegionHandle h = ++next_;
    live[h] = true;
    return h;
  }
  RegionHandle next_ = 0;
};

using Calls = std::vector<std::string>;

TEST(ShapeOutline, WorkedVertexListsAndBoxes) {
  struct Case {
    const char* name;
    int32_t shape;
    float d, r, b;
    Calls calls;
  };
  const Case cases[] = {
      {"triangle 119 x 103", Triangle, 0, 119, 103, {"polygon (0,103) (119,103) (60,0) mode 2"}},
      {"octagon 119 x 103", Octagon, 0, 119, 103,
       {"polygon (0,34) (0,69) (40,103) (79,103) (119,69) (119,34) (79,0) (40,0) mode 2"}},
      {"star 119 x 103", Star, 0, 119, 103,
       {"polygon (60,103) (0,26) (119,26) mode 2", "polygon (60,0) (0,77) (119,77) mode 2",
        "rect (0,0)-(119,103)", "combine 3 = 1 2 2", "delete 2", "delete 1"}},
      {"triangle pressed", Triangle, 2, 115, 99, {"polygon (2,99) (115,99) (58,2) mode 2"}},
      {"octagon pressed", Octagon, 2, 115, 99,
       {"polygon (2,33) (2,66) (38,99) (77,99) (115,66) (115,33) (77,2) (38,2) mode 2"}},
      {"circle pressed", Circular, 2, 115, 99, {"ellipse (2,2)-(99,99)"}},
      {"star 90 x 90: 22.5 to 22, 67.5 to 68", Star, 0, 90, 90,
       {"polygon (45,90) (0,22) (90,22) mode 2", "polygon (45,0) (0,68) (90,68) mode 2",
        "rect (0,0)-(90,90)", "combine 3 = 1 2 2", "delete 2", "delete 1"}},
      {"triangle 75 wide: apex at 38", Triangle, 0, 75, 50, {"polygon (0,50) (75,50) (38,0) mode 2"}},
      {"triangle 73 wide: apex at 36", Triangle, 0, 73, 50, {"polygon (0,50) (73,50) (36,0) mode 2"}},
      {"ellipse", Elliptical, 0, 200, 80, {"ellipse (0,0)-(200,80)"}},
      {"circle on 200 x 80 touches the left edge", Circular, 0, 200, 80, {"ellipse (0,0)-(80,80)"}},
      {"circle, taller than wide", Circular, 0, 60, 80, {"ellipse (0,0)-(60,60)"}},
      {"rounded rectangle", RoundRectangle, 0, 200, 80, {"roundrect (0,0)-(200,80) 15x15"}},
      {"rounded square", RoundSquare, 2, 196, 76, {"roundrect (2,2)-(76,76) 15x15"}},
      {"shape 7", 7, 0, 119, 103, {}},
      {"shape -1", -1, 0, 119, 103, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingRegions rg;
    const RegionHandle h = build_outline(rg, c.shape, c.d, c.r, c.b);
    EXPECT_EQ(rg.calls, c.calls);
    // The caller gets the one region left alive (none for an unknown shape).
    EXPECT_EQ(rg.live_regions(), c.calls.empty() ? 0 : 1);
    EXPECT_EQ(h != 0, !c.calls.empty());
    if (h != 0) {
      EXPECT_TRUE(rg.live.count(h));
    }
  }
}

TEST(ShapeOutline, ACallFailingPartWayReleasesWhatWasMade) {
  // The star makes the most regions: fail each of its calls in turn.
  for (int fail_at = 0; fail_at < 4; ++fail_at) {
    SCOPED_TRACE(fail_at);
    RecordingRegions rg;
    rg.fail_at = fail_at;
    EXPECT_EQ(error_of([&] { build_outline(rg, Star, 0, 119, 103); }), kErrInvalidCall);
    EXPECT_EQ(rg.live_regions(), 0);
  }
}

TEST(ShapeOutline, NearestRoundsHalvesToEven) {
  const struct {
    float in;
    int32_t out;
  } cases[] = {{37.5f, 38}, {36.5f, 36}, {22.5f, 22}, {-0.5f, 0}, {-1.5f, -2}, {2.49f, 2}, {67.5f, 68}};
  for (const auto& c : cases) EXPECT_EQ(nearest(c.in), c.out) << c.in;
  EXPECT_EQ(error_of([] { nearest(3e9f); }), kErrOverflow);
}

}  // namespace
}  // namespace qs::test
