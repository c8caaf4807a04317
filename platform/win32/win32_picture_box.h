// A picture box: a child window of its own class with the platform's sunken
// frame, filled with its back colour, reporting the mouse in its client
// coordinates.
#pragma once

#include "platform/win32/win32_element.h"
#include "platform/win32/win32_mouse.h"

namespace qs::win32 {

class Win32PictureBox : public ElementImpl<PictureBox> {
 public:
  Win32PictureBox(ContainerWindow& owner, HWND parent, std::u16string name, int sequence);
  ~Win32PictureBox() override;

  OleColor back_color() const override { return back_color_; }
  void set_back_color(OleColor color) override;

 private:
  static const wchar_t* window_class();
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);

  OleColor back_color_ = kColorButtonFace;
  MouseTracker mouse_;
};

}  // namespace qs::win32
