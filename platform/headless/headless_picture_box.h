// An in-memory picture box: a window that keeps its back colour.
#pragma once

#include "platform/headless/headless_element.h"

namespace qs {

class HeadlessPictureBox final : public HeadlessElement<PictureBox> {
 public:
  HeadlessPictureBox(HeadlessContainer& parent, std::u16string name, int tab_index)
      : HeadlessElement(parent, std::move(name), /*windowless=*/false, tab_index) {}

  OleColor back_color() const override { return back_color_; }
  void set_back_color(OleColor color) override { back_color_ = color; }

 private:
  OleColor back_color_ = kColorButtonFace;
};

}  // namespace qs
