// A real BUTTON child window (push button) whose clicks reach on_click.
#pragma once

#include "platform/win32/win32_element.h"

namespace qs::win32 {

class Win32CommandButton : public ElementImpl<CommandButton> {
 public:
  Win32CommandButton(ContainerWindow& owner, HWND parent, std::u16string name, int sequence);

  std::u16string caption() const override;
  void set_caption(const std::u16string& caption) override;

  // The window reported a notification code (BN_*) to its container.
  void notify(WORD code);
};

}  // namespace qs::win32
