#include "platform/region_engine.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace qs {

// Appends rows from top to bottom and keeps the shape's form: empty rows
// left out, a row touching the previous one with the same intervals merged
// into it.
class RegionRows {
 public:
  // Starts the shape afresh, with room for about that many rows.
  explicit RegionRows(RegionShape& shape, size_t rows = 0) : shape_(shape) {
    shape_.bands_.clear();
    shape_.xs_.clear();
    shape_.bands_.reserve(rows);
    shape_.xs_.reserve(rows * 2);
  }

  // Adds the row [top, bottom) with the intervals in xs (pairs left, right,
  // sorted and apart). Rows must come in increasing order.
  void add(int32_t top, int32_t bottom, const int32_t* xs, size_t count) {
    if (count == 0 || top >= bottom) return;
    auto& bands = shape_.bands_;
    auto& all = shape_.xs_;
    if (!bands.empty()) {
      RegionShape::Band& last = bands.back();
      if (last.bottom == top && last.end - last.first == count &&
          same(xs, all.data() + last.first, count)) {
        last.bottom = bottom;
        return;
      }
    }
    auto first = static_cast<uint32_t>(all.size());
    for (size_t k = 0; k < count; ++k) all.push_back(xs[k]);
    bands.push_back({top, bottom, first, static_cast<uint32_t>(all.size())});
  }
  void add(int32_t top, int32_t bottom, const std::vector<int32_t>& xs) {
    add(top, bottom, xs.data(), xs.size());
  }

 private:
  // Rows hold few intervals: a plain loop beats a call to memcmp.
  static bool same(const int32_t* a, const int32_t* b, size_t count) {
    for (size_t k = 0; k < count; ++k) {
      if (a[k] != b[k]) return false;
    }
    return true;
  }

  RegionShape& shape_;
};

namespace {

int64_t floor_div(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int32_t clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Applies the mode to two rows of intervals.
void combine_row(const int32_t* a, size_t na, const int32_t* b, size_t nb, int32_t mode,
                 std::vector<int32_t>& out) {
  out.clear();
  size_t i = 0;
  size_t j = 0;
  bool in_a = false;
  bool in_b = false;
  bool in = false;
  auto op = [mode](bool x, bool y) {
    switch (mode) {
      case kRgnAnd: return x && y;
      case kRgnOr: return x || y;
      case kRgnXor: return x != y;
      case kRgnDiff: return x && !y;
      default: return x;
    }
  };
  while (i < na || j < nb) {
    int32_t x;
    if (j >= nb || (i < na && a[i] <= b[j])) {
      x = a[i];
    } else {
      x = b[j];
    }
    // Take every edge at this x from both rows before deciding.
    while (i < na && a[i] == x) {
      in_a = !in_a;
      ++i;
    }
    while (j < nb && b[j] == x) {
      in_b = !in_b;
      ++j;
    }
    bool now = op(in_a, in_b);
    if (now != in) {
      out.push_back(x);
      in = now;
    }
  }
}

}  // namespace

RegionShape RegionShape::rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  RegionShape shape;
  RegionRows rows(shape);
  int32_t xs[2] = {left, right};
  if (left < right) rows.add(top, bottom, xs, 2);
  return shape;
}

RegionShape RegionShape::from_rects(const std::vector<RegionRect>& rects) {
  RegionShape shape;
  for (const RegionRect& r : rects) {
    shape = combine(shape, rect(r.left, r.top, r.right, r.bottom), kRgnOr);
  }
  return shape;
}

RegionShape RegionShape::ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  return round_rect(left, top, right, bottom, clamp32(int64_t{right} - left),
                    clamp32(int64_t{bottom} - top));
}

RegionShape RegionShape::round_rect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                    int32_t ellipse_width, int32_t ellipse_height) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  // Curved regions leave out the box's last column and row.
  // An empty box thus becomes the column or row just left of or above it.
  const int64_t width = int64_t{right} - left - 1;
  const int64_t height = int64_t{bottom} - top - 1;
  const int64_t ew = std::min<int64_t>(std::abs(int64_t{ellipse_width}), width);
  const int64_t eh = std::min<int64_t>(std::abs(int64_t{ellipse_height}), height);
  const int64_t r = left + width;
  const int64_t b = top + height;
  if (ew < 2 || eh < 2) return rect(left, top, clamp32(r), clamp32(b));
  if (ew > kMaxCurve || eh > kMaxCurve) {
    RegionShape refused;
    refused.refused_ = true;
    return refused;
  }
  // The corner ellipse (ew x eh) is traced with integer error terms from its
  // middle row downwards, one step in x or y or both at a time, the way the
  // system rasterises it; each row keeps the inset of the step that entered
  // it. Rows above the middle mirror those below. The middle row stretches
  // over the straight sides of a rounded rectangle.
  //
  // Row j below the middle (j = 0 is the middle) is kept as runs of rows
  // with one inset; the insets only grow downwards, so there are at most
  // about ew / 2 + 1 runs however tall the ellipse is.
  struct Run {
    int64_t inset;
    int64_t rows;
  };
  const int64_t mid = eh / 2;
  const int64_t below = eh - mid;  // rows j = 0 .. below - 1
  std::vector<Run> runs;
  runs.reserve(static_cast<size_t>(std::min(below, ew / 2 + 2)));
  runs.push_back({0, 1});
  int64_t traced = 1;
  {
    const int64_t a = ew - 1;
    const int64_t c = eh - 1;
    const int64_t odd = c % 2;
    const int64_t step_x = 8 * c * c;
    const int64_t step_y = 8 * a * a;
    int64_t dx = 4 * c * c * (1 - a);
    int64_t dy = 4 * a * a * (1 + odd);
    int64_t err = dx + dy + a * a * odd;
    int64_t x = 0;
    while (x <= ew / 2 && traced < below) {
      const int64_t e2 = 2 * err;
      if (e2 >= dx) {
        ++x;
        dx += step_x;
        err += dx;
      }
      if (e2 <= dy) {
        dy += step_y;
        err += dy;
        ++traced;
        if (runs.back().inset == x) {
          ++runs.back().rows;
        } else {
          runs.push_back({x, 1});
        }
      }
    }
  }
  RegionShape shape;
  // A very narrow, tall ellipse runs out of x steps before it reaches its
  // last rows (the system leaves those rows unfilled); they continue the
  // narrowest row so the shape stays whole.
  if (traced < below) {
    runs.back().rows += below - traced;
    shape.continued_ = true;
  }
  // Bands top to bottom: the upper corner rows (mirrors of rows j =
  // eh - 2 * mid .. below - 1, the last first), the middle stretched over the
  // straight sides, then rows j = 1 .. below - 1. Each run has one interval,
  // shared by its band above and its band below; runs so far out that
  // their interval is empty (the ellipse's tips) give no band. Every
  // coordinate lies inside the box, so the narrowing casts are exact.
  auto& bands = shape.bands_;
  auto& xs = shape.xs_;
  const size_t n = runs.size();
  size_t shown = 0;
  while (shown < n && left + runs[shown].inset < r - runs[shown].inset) ++shown;
  xs.resize(2 * shown);
  for (size_t k = 0; k < shown; ++k) {
    xs[2 * k] = static_cast<int32_t>(left + runs[k].inset);
    xs[2 * k + 1] = static_cast<int32_t>(r - runs[k].inset);
  }
  bands.reserve(2 * shown + 1);
  const auto band = [&](size_t k, int64_t row_top, int64_t row_bottom) {
    const auto first = static_cast<uint32_t>(2 * k);
    bands.push_back({static_cast<int32_t>(row_top), static_cast<int32_t>(row_bottom), first,
                     first + 2});
  };
  // Upper rows: row i (0 .. mid - 1) mirrors j = eh - 1 - i - mid.
  const int64_t lowest_mirrored = eh - 2 * mid;
  int64_t j_end = below;
  for (size_t k = n; k-- > 0;) {
    const int64_t j_first = j_end - runs[k].rows;
    const int64_t j_low = std::max(j_first, lowest_mirrored);
    if (k < shown && j_low < j_end) {
      band(k, top + (eh - mid - j_end), top + (eh - mid - j_low));
    }
    j_end = j_first;
  }
  // The middle joins the band above when that is run 0 (an even height
  // mirrors the middle row itself), and the rest of run 0 joins it below.
  if (shown > 0) {
    const int64_t middle_bottom = b - eh + mid + runs[0].rows;
    if (!bands.empty() && bands.back().first == 0) {
      bands.back().bottom = static_cast<int32_t>(middle_bottom);
    } else {
      band(0, top + mid, middle_bottom);
    }
  }
  int64_t j_first = runs[0].rows;
  for (size_t k = 1; k < shown; ++k) {
    band(k, b - eh + mid + j_first, b - eh + mid + j_first + runs[k].rows);
    j_first += runs[k].rows;
  }
  return shape;
}

RegionShape RegionShape::polygon(const RegionPoint* points, int32_t count, int32_t fill_mode) {
  RegionShape shape;
  if (points == nullptr || count < 3) return shape;
  if (fill_mode != kAlternate && fill_mode != kWinding) return shape;
  // An edge crosses the scan lines y1 <= y < y2; on line y its first pixel
  // at or right of it is x = ceil(x1 + (y - y1) * dx / dy), kept exactly
  // from line to line as a whole part x and a remainder rem, with
  // x * dy - (x1 * dy + (y - y1) * dx) = rem and 0 <= rem < dy.
  struct Edge {
    int64_t y1, y2;
    int64_t x, rem, dy, step, step_rem;
    int dir;
  };
  std::vector<Edge> edges;
  edges.reserve(static_cast<size_t>(count));
  int64_t ymin = INT64_MAX;
  int64_t ymax = INT64_MIN;
  for (int32_t i = 0; i < count; ++i) {
    const RegionPoint& p = points[i];
    const RegionPoint& q = points[(i + 1) % count];
    if (p.y == q.y) continue;
    const bool down = p.y < q.y;
    const RegionPoint& from = down ? p : q;
    const RegionPoint& to = down ? q : p;
    Edge e{};
    e.y1 = from.y;
    e.y2 = to.y;
    e.dy = e.y2 - e.y1;
    const int64_t dx = int64_t{to.x} - from.x;
    e.x = from.x;
    e.rem = 0;
    e.step = floor_div(dx, e.dy);
    e.step_rem = dx - e.step * e.dy;
    e.dir = down ? 1 : -1;
    edges.push_back(e);
    ymin = std::min(ymin, e.y1);
    ymax = std::max(ymax, e.y2);
  }
  if (edges.empty()) return shape;
  if (ymax - ymin > kMaxRows) {
    shape.refused_ = true;
    return shape;
  }
  std::sort(edges.begin(), edges.end(),
            [](const Edge& a, const Edge& b) { return a.y1 < b.y1; });
  RegionRows rows(shape, static_cast<size_t>(ymax - ymin));
  struct Cross {
    int64_t x;
    int dir;
  };
  std::vector<Edge*> active;
  std::vector<Cross> crossings;
  std::vector<int32_t> xs;
  size_t next = 0;
  for (int64_t y = ymin; y < ymax; ++y) {
    while (next < edges.size() && edges[next].y1 <= y) active.push_back(&edges[next++]);
    size_t kept = 0;
    crossings.clear();
    for (Edge* e : active) {
      if (e->y2 <= y) continue;
      active[kept++] = e;
      // Insertion keeps the crossings sorted by x; there are few.
      Cross c{e->x, e->dir};
      crossings.push_back(c);
      for (size_t k = crossings.size() - 1; k > 0 && crossings[k - 1].x > c.x; --k) {
        std::swap(crossings[k - 1], crossings[k]);
      }
      // On to the next scan line.
      e->x += e->step;
      if (e->step_rem > e->rem) {
        e->x += 1;
        e->rem += e->dy - e->step_rem;
      } else {
        e->rem -= e->step_rem;
      }
    }
    active.resize(kept);
    xs.clear();
    int wind = 0;
    for (const Cross& c : crossings) {
      const bool was_in = fill_mode == kWinding ? wind != 0 : (wind & 1) != 0;
      wind += fill_mode == kWinding ? c.dir : 1;
      const bool is_in = fill_mode == kWinding ? wind != 0 : (wind & 1) != 0;
      if (was_in == is_in) continue;
      const int32_t x = clamp32(c.x);
      // Intervals that close where they open vanish; touching ones join.
      if (!xs.empty() && xs.back() == x) {
        xs.pop_back();
      } else {
        xs.push_back(x);
      }
    }
    rows.add(clamp32(y), clamp32(y + 1), xs);
  }
  return shape;
}

RegionShape RegionShape::combine(const RegionShape& first, const RegionShape& second,
                                 int32_t mode) {
  if (mode == kRgnCopy) return first;
  RegionShape shape;
  RegionRows rows(shape, first.bands_.size() + second.bands_.size());
  const auto& a = first.bands_;
  const auto& b = second.bands_;
  size_t i = 0;
  size_t j = 0;
  std::vector<int32_t> out;
  int64_t y = INT64_MIN;
  while (i < a.size() || j < b.size()) {
    // Skip bands that end above y.
    while (i < a.size() && a[i].bottom <= y) ++i;
    while (j < b.size() && b[j].bottom <= y) ++j;
    if (i >= a.size() && j >= b.size()) break;
    int64_t top_a = i < a.size() ? std::max<int64_t>(a[i].top, y) : INT64_MAX;
    int64_t top_b = j < b.size() ? std::max<int64_t>(b[j].top, y) : INT64_MAX;
    int64_t top = std::min(top_a, top_b);
    bool has_a = top_a == top;
    bool has_b = top_b == top;
    // The piece ends where a covering band ends or the other band starts.
    int64_t bottom = INT64_MAX;
    if (has_a) bottom = std::min<int64_t>(bottom, a[i].bottom);
    else if (i < a.size()) bottom = std::min<int64_t>(bottom, a[i].top);
    if (has_b) bottom = std::min<int64_t>(bottom, b[j].bottom);
    else if (j < b.size()) bottom = std::min<int64_t>(bottom, b[j].top);
    const int32_t* ax = has_a ? first.xs_.data() + a[i].first : nullptr;
    size_t na = has_a ? a[i].end - a[i].first : 0;
    const int32_t* bx = has_b ? second.xs_.data() + b[j].first : nullptr;
    size_t nb = has_b ? b[j].end - b[j].first : 0;
    combine_row(ax, na, bx, nb, mode, out);
    rows.add(static_cast<int32_t>(top), static_cast<int32_t>(bottom), out);
    y = bottom;
  }
  return shape;
}

RegionKind RegionShape::kind() const {
  if (bands_.empty()) return kNullRegion;
  if (bands_.size() == 1 && bands_[0].end - bands_[0].first == 2) return kSimpleRegion;
  return kComplexRegion;
}

bool RegionShape::contains(int32_t x, int32_t y) const {
  auto band = std::upper_bound(bands_.begin(), bands_.end(), y,
                               [](int32_t v, const Band& b) { return v < b.bottom; });
  if (band == bands_.end() || y < band->top) return false;
  auto begin = xs_.begin() + band->first;
  auto end = xs_.begin() + band->end;
  // The number of edges at or left of x is odd inside an interval.
  auto pos = std::upper_bound(begin, end, x);
  return ((pos - begin) & 1) != 0;
}

std::vector<RegionRect> RegionShape::rects() const {
  std::vector<RegionRect> out;
  out.reserve(xs_.size() / 2);
  for (const Band& band : bands_) {
    for (uint32_t k = band.first; k < band.end; k += 2) {
      out.push_back({xs_[k], band.top, xs_[k + 1], band.bottom});
    }
  }
  return out;
}

RegionRect RegionShape::bounds() const {
  if (bands_.empty()) return {};
  RegionRect box{INT32_MAX, bands_.front().top, INT32_MIN, bands_.back().bottom};
  for (const Band& band : bands_) {
    box.left = std::min(box.left, xs_[band.first]);
    box.right = std::max(box.right, xs_[band.end - 1]);
  }
  return box;
}

bool RegionShape::offset(int32_t dx, int32_t dy) {
  if (empty()) return true;
  // A move that would carry a piece past the coordinate range is refused
  // whole: clamping would squeeze pieces together or to nothing.
  const RegionRect box = bounds();
  const auto fits = [](int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
  if (!fits(int64_t{box.left} + dx) || !fits(int64_t{box.right} + dx) ||
      !fits(int64_t{box.top} + dy) || !fits(int64_t{box.bottom} + dy)) {
    return false;
  }
  for (Band& band : bands_) {
    band.top = static_cast<int32_t>(int64_t{band.top} + dy);
    band.bottom = static_cast<int32_t>(int64_t{band.bottom} + dy);
  }
  for (int32_t& x : xs_) x = static_cast<int32_t>(int64_t{x} + dx);
  return true;
}

bool RegionShape::operator==(const RegionShape& other) const {
  return rects() == other.rects();
}

// The service.

RegionHandle SoftwareRegions::add(RegionShape shape) {
  if (shape.refused()) return 0;
  RegionHandle handle = next_;
  next_ += 4;
  if (shape.continued()) ++continued_;
  table_.emplace(handle, std::move(shape));
  return handle;
}

RegionHandle SoftwareRegions::create_elliptic_rgn(int32_t left, int32_t top, int32_t right,
                                                  int32_t bottom) {
  return add(RegionShape::ellipse(left, top, right, bottom));
}

RegionHandle SoftwareRegions::create_round_rect_rgn(int32_t left, int32_t top, int32_t right,
                                                    int32_t bottom, int32_t ellipse_width,
                                                    int32_t ellipse_height) {
  return add(RegionShape::round_rect(left, top, right, bottom, ellipse_width, ellipse_height));
}

RegionHandle SoftwareRegions::create_polygon_rgn(const RegionPoint* points, int32_t count,
                                                 int32_t fill_mode) {
  if (points == nullptr || count < 3) return 0;
  if (fill_mode != kAlternate && fill_mode != kWinding) return 0;
  return add(RegionShape::polygon(points, count, fill_mode));
}

RegionHandle SoftwareRegions::create_rect_rgn(int32_t left, int32_t top, int32_t right,
                                              int32_t bottom) {
  return add(RegionShape::rect(left, top, right, bottom));
}

int32_t SoftwareRegions::combine_rgn(RegionHandle destination, RegionHandle first,
                                     RegionHandle second, int32_t mode) {
  auto dest = table_.find(destination);
  const RegionShape* a = shape(first);
  if (dest == table_.end() || a == nullptr || mode < kRgnAnd || mode > kRgnCopy) {
    return kRgnError;
  }
  if (mode == kRgnCopy) {
    if (destination != first) dest->second = *a;
    return dest->second.kind();
  }
  const RegionShape* b = shape(second);
  if (b == nullptr) return kRgnError;
  dest->second = RegionShape::combine(*a, *b, mode);
  return dest->second.kind();
}

bool SoftwareRegions::delete_object(GdiObject object) {
  if (is_stock_brush(object)) return true;
  return table_.erase(object) == 1;
}

GdiObject SoftwareRegions::get_stock_object(int32_t index) {
  if (index < kWhiteBrush || index > kNullBrush) return 0;
  return kStockBase + static_cast<GdiObject>(index);
}

bool SoftwareRegions::is_stock_brush(GdiObject object) {
  return object >= kStockBase + kWhiteBrush && object <= kStockBase + kNullBrush;
}

bool SoftwareRegions::pt_in_region(RegionHandle region, int32_t x, int32_t y) const {
  const RegionShape* s = shape(region);
  return s != nullptr && s->contains(x, y);
}

std::vector<RegionRect> SoftwareRegions::region_rects(RegionHandle region) const {
  const RegionShape* s = shape(region);
  return s == nullptr ? std::vector<RegionRect>{} : s->rects();
}

const RegionShape* SoftwareRegions::shape(RegionHandle region) const {
  auto it = table_.find(region);
  return it == table_.end() ? nullptr : &it->second;
}

bool SoftwareRegions::take(RegionHandle region, RegionShape& shape) {
  auto it = table_.find(region);
  if (it == table_.end()) return false;
  shape = std::move(it->second);
  table_.erase(it);
  return true;
}

}  // namespace qs
