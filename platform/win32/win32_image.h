// A windowless image: its container paints the picture (a bitmap or an
// icon, at its own size or stretched over the element) below every child
// window and hit-tests it for the mouse.
#pragma once

#include "platform/win32/win32_element.h"

namespace qs::win32 {

class Win32Image : public ElementImpl<Image>, public Windowless {
 public:
  Win32Image(ContainerWindow& owner, std::u16string name, int sequence);

  PictureRef picture() const override { return picture_; }
  void set_picture(PictureRef picture) override;
  bool stretch() const override { return stretch_; }
  void set_stretch(bool stretch) override;
  std::u16string tool_tip_text() const override { return tool_tip_text_; }
  void set_tool_tip_text(const std::u16string& text) override;

  // Draws the picture into the container's device context.
  void paint(HDC dc) override;
  MouseSource& mouse_source() override { return *this; }

 private:
  void repaint();

  PictureRef picture_;
  bool stretch_ = false;
  std::u16string tool_tip_text_;
};

}  // namespace qs::win32
