// What in-memory surfaces and forms share: their children in creation order,
// the stacking of windows over windowless elements, the inner size, colours
// and font.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qs {

class HeadlessPlatform;

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
  // excluded), or null.
  Element* element_at(float x, float y) const;
  // The child of that name, or null.
  Element* find_element(const std::u16string& name) const;

  // Whether user input can reach this container's children now.
  virtual bool accepts_input() const = 0;

  // How many times refresh() ran.
  int refresh_count() const { return refresh_count_; }

 protected:
  // Adds a child; a second child of the same name is a programming fault
  // (std::invalid_argument), as the platform allows one name per control.
  ListBox& add_list_box(const std::u16string& name);
  CommandButton& add_command_button(const std::u16string& name);
  Label& add_label(const std::u16string& name);
  PictureBox& add_picture_box(const std::u16string& name);
  Image& add_image(const std::u16string& name);
  TextBox& add_text_box(const std::u16string& name, TextBoxStyle style);

  // Sets the inner size; a negative size fails with 380.
  void set_scale_size(float width, float height);

  float scale_width_ = 0;
  float scale_height_ = 0;
  OleColor back_color_ = kColorButtonFace;
  OleColor fore_color_ = kColorButtonText;
  FontRef font_;
  int refresh_count_ = 0;

 private:
  template <class E>
  E& adopt(std::unique_ptr<E> element);

  HeadlessPlatform& platform_;
  std::vector<std::unique_ptr<Element>> elements_;
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

  float scale_width() const override { return scale_width_; }
  float scale_height() const override { return scale_height_; }

  OleColor back_color() const override { return back_color_; }
  void set_back_color(OleColor color) override { back_color_ = color; }
  OleColor fore_color() const override { return fore_color_; }
  void set_fore_color(OleColor color) override { fore_color_ = color; }
  FontRef font() const override { return font_; }
  void set_font(FontRef font) override { font_ = std::move(font); }

  void refresh() override { ++refresh_count_; }
};

}  // namespace qs
