// An in-memory command button: a window with a caption.
#pragma once

#include "platform/headless/headless_element.h"

namespace qs {

class HeadlessCommandButton final : public HeadlessElement<CommandButton> {
 public:
  HeadlessCommandButton(HeadlessContainer& parent, std::u16string name, int tab_index)
      : HeadlessElement(parent, std::move(name), /*windowless=*/false, tab_index) {}

  std::u16string caption() const override { return caption_; }
  void set_caption(const std::u16string& caption) override { caption_ = caption; }

 private:
  std::u16string caption_;
};

}  // namespace qs
