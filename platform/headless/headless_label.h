// An in-memory label: windowless, opaque by default, in the button colours.
#pragma once

#include "platform/headless/headless_element.h"

namespace qs {

class HeadlessLabel final : public HeadlessElement<Label> {
 public:
  HeadlessLabel(HeadlessContainer& parent, std::u16string name, int tab_index)
      : HeadlessElement(parent, std::move(name), /*windowless=*/true, tab_index) {}

  std::u16string caption() const override { return caption_; }
  void set_caption(const std::u16string& caption) override { caption_ = caption; }
  OleColor back_color() const override { return back_color_; }
  void set_back_color(OleColor color) override { back_color_ = color; }
  OleColor fore_color() const override { return fore_color_; }
  void set_fore_color(OleColor color) override { fore_color_ = color; }
  int16_t back_style() const override { return back_style_; }
  void set_back_style(int16_t style) override;
  Alignment alignment() const override { return alignment_; }
  // A value outside the three alignments fails with 380.
  void set_alignment(Alignment alignment) override;
  std::u16string tool_tip_text() const override { return tool_tip_text_; }
  void set_tool_tip_text(const std::u16string& text) override { tool_tip_text_ = text; }

 private:
  std::u16string caption_;
  OleColor back_color_ = kColorButtonFace;
  OleColor fore_color_ = kColorButtonText;
  int16_t back_style_ = 1;
  Alignment alignment_ = Alignment::kLeft;
  std::u16string tool_tip_text_;
};

}  // namespace qs
