// An in-memory image: windowless, no picture at first, not stretched.
#pragma once

#include "platform/headless/headless_element.h"

namespace qs {

class HeadlessImage final : public HeadlessElement<Image> {
 public:
  HeadlessImage(HeadlessContainer& parent, std::u16string name, int tab_index)
      : HeadlessElement(parent, std::move(name), /*windowless=*/true, tab_index) {}

  PictureRef picture() const override { return picture_; }
  void set_picture(PictureRef picture) override { picture_ = std::move(picture); }
  bool stretch() const override { return stretch_; }
  void set_stretch(bool stretch) override { stretch_ = stretch; }
  std::u16string tool_tip_text() const override { return tool_tip_text_; }
  void set_tool_tip_text(const std::u16string& text) override { tool_tip_text_ = text; }

 private:
  PictureRef picture_;
  bool stretch_ = false;
  std::u16string tool_tip_text_;
};

}  // namespace qs
