// What in-memory surfaces and forms share: their children in creation order,
// the stacking of windows over windowless elements, the inner size, colours
// and font.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/region_engine.h"

namespace qs {

class HeadlessPlatform;

// Twips per pixel of the in-memory display (96 pixels per inch).
inline constexpr float kHeadlessTwipsPerPixel = 15;

// One InvertRgn (brush 0) or FillRgn on a headless container: the pixels it
// painted.
struct RegionPaint {
  GdiObject brush = 0;
  std::vector<RegionRect> rects;
};

// The children and state of a headless container, independent of its kind.
class HeadlessContainer {
 public:
  explicit HeadlessContainer(HeadlessPlatform& platform) : platform_(platform) {}
  virtual ~HeadlessContainer();
  HeadlessContainer(const HeadlessContainer&) = delete;
  HeadlessContainer& operator=(const HeadlessContainer&) = delete;

  HeadlessPlatform& headless_platform() const { return platform_; }

  // Child elements in creation order.
  const std::vector<std::unique_ptr<Element>>& elements() const { return elements_; }
  // Child elements from the topmost down: windows, latest created first, then
  // windowless elements, latest created first.
  std::vector<Element*> stacking_order() const;
  // The topmost visible child containing the point (right and bottom edges
  // excluded), or null; null too outside the window region.
  Element* element_at(float x, float y) const;
  // The child of that name, or null.
  Element* find_element(const std::u16string& name) const;

  // Twips in one unit of the container's scale: 1 in twips, 15 in pixels.
  float twips_per_unit() const { return scale_mode_ == 3 ? kHeadlessTwipsPerPixel : 1; }
  // 1 twips or 3 pixels; anything else fails with 380.
  void change_scale_mode(int16_t mode);

  // Whether user input can reach this container's children now.
  virtual bool accepts_input() const = 0;

  // How many times refresh() ran.
  int refresh_count() const { return refresh_count_; }

  // The window region (client pixels), or null while the window is whole.
  const RegionShape* window_region() const {
    return has_window_region_ ? &window_region_ : nullptr;
  }
  // Whether a point (of the client area, in the container's scale) lies in the window: always
  // without a region, else when its pixel (the point rounded to pixels, as
  // the real platform converts it) is in the region.
  bool in_window_region(float x, float y) const;
  // How many times the window took a region (or 0) so far.
  int window_region_changes() const { return window_region_changes_; }
  // Every InvertRgn and FillRgn on the container, oldest first.
  const std::vector<RegionPaint>& region_paints() const { return region_paints_; }
  // How many of them were inversions.
  int invert_count() const;

 protected:
  // Adds a child; a second child of the same name is a programming fault
  // (std::invalid_argument), as the platform allows one name per control.
  ListBox& add_list_box(const std::u16string& name);
  CommandButton& add_command_button(const std::u16string& name);
  Label& add_label(const std::u16string& name);
  PictureBox& add_picture_box(const std::u16string& name);
  Image& add_image(const std::u16string& name);
  TextBox& add_text_box(const std::u16string& name, TextBoxStyle style);

  // SetWindowRgn, InvertRgn and FillRgn over the platform's regions.
  void set_window_region(RegionHandle region, bool redraw);
  bool invert_region(RegionHandle region);
  bool fill_region(RegionHandle region, GdiObject brush);

  // Sets the inner size; a negative size fails with 380.
  void set_scale_size(float width, float height);

  // The inner size in twips.
  float scale_width_ = 0;
  float scale_height_ = 0;
  int16_t scale_mode_ = 1;
  OleColor back_color_ = kColorButtonFace;
  OleColor fore_color_ = kColorButtonText;
  FontRef font_;
  int refresh_count_ = 0;

 private:
  template <class E>
  E& adopt(std::unique_ptr<E> element);

  HeadlessPlatform& platform_;
  std::vector<std::unique_ptr<Element>> elements_;
  RegionShape window_region_;
  bool has_window_region_ = false;
  int window_region_changes_ = 0;
  std::vector<RegionPaint> region_paints_;
};

// Implements the Container members for Surface or Form over HeadlessContainer.
template <class Interface>
class HeadlessContainerOf : public Interface, public HeadlessContainer {
 public:
  explicit HeadlessContainerOf(HeadlessPlatform& platform) : HeadlessContainer(platform) {}

  Platform& platform() override;

  ListBox& create_list_box(const std::u16string& name) override { return add_list_box(name); }
  CommandButton& create_command_button(const std::u16string& name) override {
    return add_command_button(name);
  }
  Label& create_label(const std::u16string& name) override { return add_label(name); }
  PictureBox& create_picture_box(const std::u16string& name) override {
    return add_picture_box(name);
  }
  TextBox& create_text_box(const std::u16string& name, TextBoxStyle style = {}) override {
    return add_text_box(name, style);
  }
  Image& create_image(const std::u16string& name) override { return add_image(name); }
  Element* find(const std::u16string& name) override { return find_element(name); }

  float scale_width() const override { return scale_width_ / twips_per_unit(); }
  float scale_height() const override { return scale_height_ / twips_per_unit(); }
  int16_t scale_mode() const override { return scale_mode_; }
  void set_scale_mode(int16_t mode) override { change_scale_mode(mode); }

  OleColor back_color() const override { return back_color_; }
  void set_back_color(OleColor color) override { back_color_ = color; }
  OleColor fore_color() const override { return fore_color_; }
  void set_fore_color(OleColor color) override { fore_color_ = color; }
  FontRef font() const override { return font_; }
  void set_font(FontRef font) override { font_ = std::move(font); }

  void refresh() override { ++refresh_count_; }

  void set_window_rgn(RegionHandle region, bool redraw) override {
    set_window_region(region, redraw);
  }
  bool invert_rgn(RegionHandle region) override { return invert_region(region); }
  bool fill_rgn(RegionHandle region, GdiObject brush) override {
    return fill_region(region, brush);
  }
};

}  // namespace qs
