// The region calls over gdi32, with a count of every region this service
// made and still owns: the system's own count of GDI objects answers 0 under
// Wine, so the service keeps its own table of live handles. Only handles in
// the table (or stock brushes) are passed on to the system; any other
// handle fails the call without reaching it.
#pragma once

#include <windows.h>

#include <unordered_set>
#include <vector>

#include "platform/region.h"

namespace qs::win32 {

class Win32Regions final : public Regions {
 public:
  Win32Regions() = default;
  ~Win32Regions() override;
  Win32Regions(const Win32Regions&) = delete;
  Win32Regions& operator=(const Win32Regions&) = delete;

  RegionHandle create_elliptic_rgn(int32_t left, int32_t top, int32_t right,
                                   int32_t bottom) override;
  RegionHandle create_round_rect_rgn(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                     int32_t ellipse_width, int32_t ellipse_height) override;
  RegionHandle create_polygon_rgn(const RegionPoint* points, int32_t count,
                                  int32_t fill_mode) override;
  RegionHandle create_rect_rgn(int32_t left, int32_t top, int32_t right,
                               int32_t bottom) override;
  int32_t combine_rgn(RegionHandle destination, RegionHandle first, RegionHandle second,
                      int32_t mode) override;
  bool delete_object(GdiObject object) override;
  GdiObject get_stock_object(int32_t index) override;
  bool pt_in_region(RegionHandle region, int32_t x, int32_t y) const override;
  std::vector<RegionRect> region_rects(RegionHandle region) const override;
  int live_regions() const override { return static_cast<int>(live_.size()); }

  // The system's region behind a live handle, or null.
  HRGN live(RegionHandle region) const;
  // Forgets a live region a window has taken over; false for an unknown one.
  bool handed_to_window(RegionHandle region);
  // Whether the object is one of the stock brushes.
  static bool is_stock_brush(GdiObject object);

  // The pieces of any region of the system, as GetRegionData gives them.
  static std::vector<RegionRect> rects_of(HRGN region);

 private:
  RegionHandle keep(HRGN region);
  std::unordered_set<HRGN> live_;
};

}  // namespace qs::win32
