// The software region engine on any sequence of calls: the bytes pick
// shapes (boxes, ellipses, rounded boxes, polygons in both fill modes) with
// coordinates small or extreme, combine them in every mode and move them.
// Every shape it gives must be well formed (rows in order and apart, each
// row's pieces sorted and apart, touching rows with the same pieces merged),
// its point test must agree with its pieces, and the combinations must obey
// the identities of sets.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/region_engine.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace qs;

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  // Mostly a small coordinate; now and then one near the ends of the range.
  int32_t coordinate() {
    const uint8_t kind = byte();
    const int32_t small = static_cast<int8_t>(byte());
    switch (kind % 16) {
      case 0: return INT32_MAX - (small & 0x7f);
      case 1: return INT32_MIN + (small & 0x7f);
      case 2: return small * 257;  // some tens of thousands either way
      default: return small;
    }
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

void check_well_formed(const RegionShape& shape) {
  const std::vector<RegionRect> rects = shape.rects();
  QS_FUZZ_CHECK(shape.empty() == rects.empty());
  // Rows: the pieces of one row share top and bottom and come left to right
  // apart; rows come top to bottom without overlap; two rows that touch
  // differ in their pieces.
  size_t row_start = 0;
  std::vector<std::pair<int32_t, int32_t>> previous;
  int32_t previous_bottom = INT32_MIN;
  bool first_row = true;
  while (row_start < rects.size()) {
    size_t row_end = row_start;
    std::vector<std::pair<int32_t, int32_t>> row;
    while (row_end < rects.size() && rects[row_end].top == rects[row_start].top) {
      const RegionRect& r = rects[row_end];
      QS_FUZZ_CHECK(r.bottom == rects[row_start].bottom);
      QS_FUZZ_CHECK(r.left < r.right && r.top < r.bottom);
      if (!row.empty()) QS_FUZZ_CHECK(row.back().second < r.left);
      row.emplace_back(r.left, r.right);
      ++row_end;
    }
    const RegionRect& head = rects[row_start];
    if (!first_row) {
      QS_FUZZ_CHECK(previous_bottom <= head.top);
      if (previous_bottom == head.top) QS_FUZZ_CHECK(previous != row);
    }
    // The point test agrees with the pieces at their corners and just past.
    for (const auto& [l, r] : row) {
      QS_FUZZ_CHECK(shape.contains(l, head.top));
      QS_FUZZ_CHECK(shape.contains(r - 1, head.bottom - 1));
      QS_FUZZ_CHECK(!shape.contains(r, head.top));
      if (l > INT32_MIN) QS_FUZZ_CHECK(!shape.contains(l - 1, head.top));
    }
    previous = std::move(row);
    previous_bottom = head.bottom;
    first_row = false;
    row_start = row_end;
  }
  const RegionRect box = shape.bounds();
  if (!rects.empty()) {
    QS_FUZZ_CHECK(box.top == rects.front().top && box.bottom == rects.back().bottom);
  }
}

RegionShape make(Input& in) {
  const uint8_t kind = in.byte() % 5;
  const int32_t l = in.coordinate(), t = in.coordinate(), r = in.coordinate(),
                b = in.coordinate();
  switch (kind) {
    case 0: return RegionShape::rect(l, t, r, b);
    case 1: return RegionShape::ellipse(l, t, r, b);
    case 2: return RegionShape::round_rect(l, t, r, b, in.coordinate(), in.coordinate());
    default: {
      std::vector<RegionPoint> points{{l, t}, {r, b}};
      const int n = in.byte() % 8;
      for (int i = 0; i < n; ++i) points.push_back({in.coordinate(), in.coordinate()});
      return RegionShape::polygon(points.data(), static_cast<int32_t>(points.size()),
                                  kind == 3 ? kAlternate : kWinding);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  std::vector<RegionShape> shapes;
  for (int step = 0; step < 12 && !in.done(); ++step) {
    const uint8_t op = in.byte() % 4;
    if (op <= 1 || shapes.empty()) {
      RegionShape s = make(in);
      if (s.refused()) {
        QS_FUZZ_CHECK(s.empty());
        continue;
      }
      check_well_formed(s);
      shapes.push_back(std::move(s));
    } else if (op == 2) {
      const RegionShape& a = shapes[in.byte() % shapes.size()];
      const RegionShape& b = shapes[in.byte() % shapes.size()];
      const RegionShape both = RegionShape::combine(a, b, kRgnAnd);
      const RegionShape either = RegionShape::combine(a, b, kRgnOr);
      const RegionShape one = RegionShape::combine(a, b, kRgnXor);
      const RegionShape a_only = RegionShape::combine(a, b, kRgnDiff);
      for (const RegionShape* s : {&both, &either, &one, &a_only}) check_well_formed(*s);
      // Sets: a xor b = (a or b) minus (a and b); a = (a minus b) or (a and b).
      QS_FUZZ_CHECK(one == RegionShape::combine(either, both, kRgnDiff));
      QS_FUZZ_CHECK(a == RegionShape::combine(a_only, both, kRgnOr));
      QS_FUZZ_CHECK(RegionShape::combine(a, a, kRgnXor).empty());
      QS_FUZZ_CHECK(RegionShape::combine(a, b, kRgnCopy) == a);
      shapes.push_back(either);
    } else {
      RegionShape& s = shapes[in.byte() % shapes.size()];
      const int32_t dx = static_cast<int8_t>(in.byte());
      const int32_t dy = static_cast<int8_t>(in.byte());
      RegionShape moved = s;
      const RegionRect box = s.bounds();
      const bool fits = s.empty() || (int64_t{box.left} + dx >= INT32_MIN &&
                                      int64_t{box.right} + dx <= INT32_MAX &&
                                      int64_t{box.top} + dy >= INT32_MIN &&
                                      int64_t{box.bottom} + dy <= INT32_MAX);
      QS_FUZZ_CHECK(moved.offset(dx, dy) == fits);
      check_well_formed(moved);
      if (!fits) {
        QS_FUZZ_CHECK(moved == s);
      } else if (!s.empty()) {
        // Every piece moved by exactly (dx, dy), and the move is undone by
        // the opposite one.
        const std::vector<RegionRect> before = s.rects();
        const std::vector<RegionRect> after = moved.rects();
        QS_FUZZ_CHECK(before.size() == after.size());
        for (size_t i = 0; i < before.size(); ++i) {
          QS_FUZZ_CHECK(int64_t{after[i].left} == int64_t{before[i].left} + dx);
          QS_FUZZ_CHECK(int64_t{after[i].bottom} == int64_t{before[i].bottom} + dy);
        }
        RegionShape back = moved;
        QS_FUZZ_CHECK(back.offset(-dx, -dy) && back == s);
      }
      s = std::move(moved);
    }
  }
  return 0;
}
