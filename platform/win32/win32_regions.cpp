#include "platform/win32/win32_regions.h"

#include <vector>

namespace qs::win32 {

Win32Regions::~Win32Regions() {
  // Regions the program never released go with the platform.
  for (HRGN region : live_) DeleteObject(region);
}

RegionHandle Win32Regions::keep(HRGN region) {
  if (region == nullptr) return 0;
  live_.insert(region);
  return reinterpret_cast<RegionHandle>(region);
}

HRGN Win32Regions::live(RegionHandle region) const {
  HRGN r = reinterpret_cast<HRGN>(region);
  return live_.count(r) != 0 ? r : nullptr;
}

bool Win32Regions::handed_to_window(RegionHandle region) {
  return live_.erase(reinterpret_cast<HRGN>(region)) == 1;
}

RegionHandle Win32Regions::create_elliptic_rgn(int32_t left, int32_t top, int32_t right,
                                               int32_t bottom) {
  return keep(CreateEllipticRgn(left, top, right, bottom));
}

RegionHandle Win32Regions::create_round_rect_rgn(int32_t left, int32_t top, int32_t right,
                                                 int32_t bottom, int32_t ellipse_width,
                                                 int32_t ellipse_height) {
  return keep(CreateRoundRectRgn(left, top, right, bottom, ellipse_width, ellipse_height));
}

RegionHandle Win32Regions::create_polygon_rgn(const RegionPoint* points, int32_t count,
                                              int32_t fill_mode) {
  if (points == nullptr || count < 3) return 0;
  if (fill_mode != kAlternate && fill_mode != kWinding) return 0;
  std::vector<POINT> pts(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) pts[static_cast<size_t>(i)] = {points[i].x, points[i].y};
  return keep(CreatePolygonRgn(pts.data(), count, fill_mode));
}

RegionHandle Win32Regions::create_rect_rgn(int32_t left, int32_t top, int32_t right,
                                           int32_t bottom) {
  return keep(CreateRectRgn(left, top, right, bottom));
}

int32_t Win32Regions::combine_rgn(RegionHandle destination, RegionHandle first,
                                  RegionHandle second, int32_t mode) {
  HRGN dest = live(destination);
  HRGN a = live(first);
  if (dest == nullptr || a == nullptr || mode < kRgnAnd || mode > kRgnCopy) return kRgnError;
  HRGN b = mode == kRgnCopy ? a : live(second);
  if (b == nullptr) return kRgnError;
  return CombineRgn(dest, a, b, mode);
}

bool Win32Regions::is_stock_brush(GdiObject object) {
  if (object == 0) return false;
  for (int index = WHITE_BRUSH; index <= NULL_BRUSH; ++index) {
    if (reinterpret_cast<GdiObject>(GetStockObject(index)) == object) return true;
  }
  return false;
}

bool Win32Regions::delete_object(GdiObject object) {
  if (is_stock_brush(object)) return true;
  HRGN region = reinterpret_cast<HRGN>(object);
  if (live_.erase(region) == 0) return false;
  return DeleteObject(region) != 0;
}

GdiObject Win32Regions::get_stock_object(int32_t index) {
  if (index < kWhiteBrush || index > kNullBrush) return 0;
  return reinterpret_cast<GdiObject>(GetStockObject(index));
}

bool Win32Regions::pt_in_region(RegionHandle region, int32_t x, int32_t y) const {
  HRGN r = live(region);
  return r != nullptr && PtInRegion(r, x, y) != 0;
}

std::vector<RegionRect> Win32Regions::rects_of(HRGN region) {
  std::vector<RegionRect> out;
  DWORD size = GetRegionData(region, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return out;
  std::vector<unsigned char> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (GetRegionData(region, size, data) == 0) return out;
  DWORD count = data->rdh.nCount;
  if (sizeof(RGNDATAHEADER) + count * sizeof(RECT) > size) return out;
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  out.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    out.push_back({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
  }
  return out;
}

std::vector<RegionRect> Win32Regions::region_rects(RegionHandle region) const {
  HRGN r = live(region);
  return r == nullptr ? std::vector<RegionRect>{} : rects_of(r);
}

}  // namespace qs::win32
