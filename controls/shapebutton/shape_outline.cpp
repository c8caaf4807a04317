#include "controls/shapebutton/shape_outline.h"

#include "controls/shapebutton/shapebutton.h"

namespace qs {

namespace {

// The corner ellipse of the rounded outlines, in pixels.
constexpr int32_t kCornerSize = 15;

}  // namespace

RegionHandle build_outline(Regions& rg, int32_t shape, float d, float r, float b) {
  // m is the smaller side (r when they are equal); a quotient is rounded
  // only after the product that follows it.
  const float m = r > b ? b : r;
  const int32_t di = nearest(d);
  const int32_t ri = nearest(r);
  const int32_t bi = nearest(b);
  const int32_t mi = nearest(m);
  switch (shape) {
    case Elliptical:
      return rg.create_elliptic_rgn(di, di, ri, bi);
    case Circular:
      return rg.create_elliptic_rgn(di, di, mi, mi);
    case RoundRectangle:
      return rg.create_round_rect_rgn(di, di, ri, bi, kCornerSize, kCornerSize);
    case RoundSquare:
      return rg.create_round_rect_rgn(di, di, mi, mi, kCornerSize, kCornerSize);
    case Triangle: {
      const RegionPoint points[] = {{di, bi}, {ri, bi}, {nearest(r / 2), di}};
      return rg.create_polygon_rgn(points, 3, kWinding);
    }
    case Octagon: {
      const int32_t x1 = nearest(r / 3), x2 = nearest(2 * (r / 3));
      const int32_t y1 = nearest(b / 3), y2 = nearest(2 * (b / 3));
      const RegionPoint points[] = {{di, y1}, {di, y2}, {x1, bi}, {x2, bi},
                                    {ri, y2}, {ri, y1}, {x2, di}, {x1, di}};
      return rg.create_polygon_rgn(points, 8, kWinding);
    }
    case Star: {
      const int32_t mid = nearest(r / 2);
      const int32_t q1 = nearest(b / 4), q3 = nearest(3 * (b / 4));
      const RegionPoint down[] = {{mid, bi}, {di, q1}, {ri, q1}};
      const RegionPoint up[] = {{mid, di}, {di, q3}, {ri, q3}};
      OwnedRegion t1(rg, rg.create_polygon_rgn(down, 3, kWinding));
      OwnedRegion t2(rg, rg.create_polygon_rgn(up, 3, kWinding));
      // The rectangle only provides the destination; the union overwrites it.
      OwnedRegion star(rg, rg.create_rect_rgn(di, di, ri, bi));
      rg.combine_rgn(star.get(), t1.get(), t2.get(), kRgnOr);
      t2.reset();
      t1.reset();
      return star.release();
    }
    default:
      return 0;
  }
}

}  // namespace qs
