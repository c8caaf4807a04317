// What every in-memory element keeps: its name, place, flags, tab index and
// font (the default font object at first, as the platform's elements have),
// and the container it lives in.
#pragma once

#include <optional>
#include <string>

#include "core/runtime_error.h"
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

  Bounds bounds() const override { return bounds_; }

  // Keeps the values exactly as given; a refused move changes nothing.
  void move(float left, std::optional<float> top = {}, std::optional<float> width = {},
            std::optional<float> height = {}) override {
    if ((width && *width < 0) || (height && *height < 0)) {
      throw RuntimeError(kErrInvalidPropertyValue);
    }
    bounds_.left = left;
    if (top) bounds_.top = *top;
    if (width) bounds_.width = *width;
    if (height) bounds_.height = *height;
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
  std::u16string name_;
  bool windowless_;
  Bounds bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  int tab_index_;
  FontRef font_;
};

}  // namespace qs
