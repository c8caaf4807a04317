// What every in-memory element keeps: its name, place, flags, tab index and
// font (the default font object at first, as the platform's elements have),
// and the container it lives in.
#pragma once

#include <optional>
#include <string>

#include "core/runtime_error.h"
#include "platform/headless/headless_container.h"
#include "platform/platform.h"

namespace qs {

class HeadlessContainer;

// The link from any headless element back to its container, reachable from
// an Element by cross-cast.
class HeadlessNode {
 public:
  explicit HeadlessNode(HeadlessContainer& parent) : parent_(parent) {}
  virtual ~HeadlessNode() = default;

  HeadlessContainer& parent() const { return parent_; }

 private:
  HeadlessContainer& parent_;
};

// Implements the Element members for one element interface (ListBox, Label...).
template <class Interface>
class HeadlessElement : public Interface, public HeadlessNode {
 public:
  HeadlessElement(HeadlessContainer& parent, std::u16string name, bool windowless,
                  int tab_index)
      : HeadlessNode(parent),
        name_(std::move(name)),
        windowless_(windowless),
        tab_index_(tab_index),
        font_(make_font(default_font_desc())) {}

  const std::u16string& name() const override { return name_; }
  bool windowless() const override { return windowless_; }

  // In the container's scale; exactly as given while the scale is the one
  // they were given in.
  Bounds bounds() const override {
    const float now = twips_per_unit();
    if (now == bounds_twips_per_unit_) return bounds_;
    const float from = bounds_twips_per_unit_;
    return Bounds{bounds_.left * from / now, bounds_.top * from / now, bounds_.width * from / now,
                  bounds_.height * from / now};
  }

  // Keeps the values exactly as given; a refused move changes nothing.
  void move(float left, std::optional<float> top = {}, std::optional<float> width = {},
            std::optional<float> height = {}) override {
    if ((width && *width < 0) || (height && *height < 0)) {
      throw RuntimeError(kErrInvalidPropertyValue);
    }
    Bounds b = bounds();
    b.left = left;
    if (top) b.top = *top;
    if (width) b.width = *width;
    if (height) b.height = *height;
    bounds_ = b;
    bounds_twips_per_unit_ = twips_per_unit();
  }

  bool visible() const override { return visible_; }
  void set_visible(bool visible) override { visible_ = visible; }
  bool enabled() const override { return enabled_; }
  void set_enabled(bool enabled) override { enabled_ = enabled; }

  int tab_index() const override { return tab_index_; }
  // A negative tab index fails with 380.
  void set_tab_index(int index) override {
    if (index < 0) throw RuntimeError(kErrInvalidPropertyValue);
    tab_index_ = index;
  }

  FontRef font() const override { return font_; }
  void set_font(FontRef font) override { font_ = std::move(font); }

 private:
  float twips_per_unit() const;

  std::u16string name_;
  bool windowless_;
  // The place, in the scale it was given in.
  Bounds bounds_;
  float bounds_twips_per_unit_ = 1;
  bool visible_ = true;
  bool enabled_ = true;
  int tab_index_;
  FontRef font_;
};

template <class Interface>
float HeadlessElement<Interface>::twips_per_unit() const {
  return parent().twips_per_unit();
}

}  // namespace qs
