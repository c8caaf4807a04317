// An in-memory text box: a window holding a text, reporting every change.
#pragma once

#include "platform/headless/headless_element.h"

namespace qs {

class HeadlessTextBox final : public HeadlessElement<TextBox> {
 public:
  HeadlessTextBox(HeadlessContainer& parent, std::u16string name, int tab_index,
                  TextBoxStyle style)
      : HeadlessElement(parent, std::move(name), /*windowless=*/false, tab_index), style_(style) {}

  TextBoxStyle style() const override { return style_; }
  std::u16string text() const override { return text_; }
  void set_text(const std::u16string& text) override {
    if (text == text_) return;
    text_ = text;
    if (on_change) on_change();
  }

 private:
  TextBoxStyle style_;
  std::u16string text_;
};

}  // namespace qs
