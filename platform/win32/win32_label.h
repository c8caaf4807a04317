// A windowless label: its container paints it below every child window and
// hit-tests it for clicks.
#pragma once

#include "platform/win32/win32_element.h"

namespace qs::win32 {

class Win32Label : public ElementImpl<Label>, public Windowless {
 public:
  Win32Label(ContainerWindow& owner, std::u16string name, int sequence);

  std::u16string caption() const override { return caption_; }
  void set_caption(const std::u16string& caption) override;
  OleColor back_color() const override { return back_color_; }
  void set_back_color(OleColor color) override;
  OleColor fore_color() const override { return fore_color_; }
  void set_fore_color(OleColor color) override;
  int16_t back_style() const override { return back_style_; }
  void set_back_style(int16_t style) override;
  Alignment alignment() const override { return alignment_; }
  void set_alignment(Alignment alignment) override;
  std::u16string tool_tip_text() const override { return tool_tip_text_; }
  void set_tool_tip_text(const std::u16string& text) override;

  // Draws the label into the container's device context.
  void paint(HDC dc) override;
  MouseSource& mouse_source() override { return *this; }

 private:
  void repaint();

  std::u16string caption_;
  OleColor back_color_ = kColorButtonFace;
  OleColor fore_color_ = kColorButtonText;
  int16_t back_style_ = 1;
  Alignment alignment_ = Alignment::kLeft;
  std::u16string tool_tip_text_;
};

}  // namespace qs::win32
