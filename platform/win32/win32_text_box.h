// A real EDIT child window. Its text is what the window holds; a change
// (typed, pasted or set) reaches on_change once, and only when the text
// differs from the last one reported.
#pragma once

#include "platform/win32/win32_element.h"

namespace qs::win32 {

class Win32TextBox : public ElementImpl<TextBox> {
 public:
  Win32TextBox(ContainerWindow& owner, HWND parent, std::u16string name, int sequence,
               TextBoxStyle style);

  TextBoxStyle style() const override { return style_; }
  std::u16string text() const override;
  void set_text(const std::u16string& text) override;

  // The window reported a notification code (EN_*) to its container.
  void notify(WORD code);

 private:
  // Reports a change when the window's text differs from the last known one.
  void sync();

  TextBoxStyle style_;
  std::u16string known_;
};

}  // namespace qs::win32
