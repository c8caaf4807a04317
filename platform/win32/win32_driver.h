// The driver over real windows: it sends the mouse messages a user's input
// produces to the element's window, after checking, as the system's input
// routing does, that the window and all its ancestors are enabled and visible
// and that the point lies inside their window regions (input outside a
// window's region reaches nothing of it).
#pragma once

#include "platform/win32/win32_platform.h"

namespace qs::win32 {

class Win32Driver : public Driver {
 public:
  explicit Win32Driver(Win32Platform& platform) : platform_(platform) {}

  void click(Element& element) override;
  void double_click(Element& element) override;
  void mouse_down(Element& element, float x, float y, int16_t button = kLeftButton,
                  int16_t shift = 0) override;
  void mouse_up(Element& element, float x, float y, int16_t button = kLeftButton,
                int16_t shift = 0) override;
  void mouse_move(Element& element, float x, float y, int16_t buttons = 0,
                  int16_t shift = 0) override;
  void press_key(Element& element, int16_t key_code) override;
  void press_key(Surface& surface, int16_t key_code) override;
  // Focuses the box, puts the caret at the end and sends each character as
  // a key press (WM_KEYDOWN, WM_CHAR, WM_KEYUP).
  void type_text(TextBox& box, const std::u16string& text) override;
  void click_item(ListBox& list, int index) override;
  void double_click_item(ListBox& list, int index) override;
  void resize(Surface& surface, float width, float height) override;
  Element* element_at(Container& container, float x, float y) override;
  void on_modal(std::function<void(Form&)> script) override;
  void on_open_file(std::function<bool(OpenFileRecord&)> script) override;
  void pump() override;

 private:
  // True when input can reach the window: it and every ancestor are enabled
  // and visible (the parking window need only be enabled).
  bool reachable(HWND window) const;
  // reachable, and the point (client pixels of the window) lies inside the
  // window regions of the window and its ancestors.
  bool reachable_at(HWND window, POINT point) const;
  // Where an item's centre lies in the list's client area, scrolling it into
  // view first; fails when the list has no room to show it.
  POINT item_point(HWND list, int index) const;
  // Sends one mouse message for a point of an element (twips, its own
  // coordinates) to the window the system would route it to.
  void send_mouse(Element& element, float x, float y, UINT message, int16_t held, int16_t shift);

  Win32Platform& platform_;
};

}  // namespace qs::win32
