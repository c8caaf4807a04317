// Acts as a user on the in-memory platform: input reaches an element only when
// the element is enabled and visible and its container accepts input (an
// enabled surface, a shown form, nothing modal above it). Mouse input is
// routed as the platform routes it: to a window directly, and at a point of
// a windowless element to the topmost element there, and nowhere outside
// the container's window region; a press holds the
// mouse for its element until that button is released.
#pragma once

#include "platform/driver.h"
#include "platform/headless/headless_platform.h"

namespace qs {

class HeadlessDriver final : public Driver {
 public:
  explicit HeadlessDriver(HeadlessPlatform& platform) : platform_(platform) {}

  // Clicks a command button, or presses and releases the left button at
  // the centre of an element that takes the mouse; a list box takes
  // click_item instead (std::invalid_argument).
  void click(Element& element) override;
  void double_click(Element& element) override;
  // Selects the item as the user does, which reports a click; an index that
  // names no item is a fault of the test (std::out_of_range).
  void click_item(ListBox& list, int index) override;
  // The click, then the double-click if the list still takes input.
  void double_click_item(ListBox& list, int index) override;
  void mouse_down(Element& element, float x, float y, int16_t button = kLeftButton,
                  int16_t shift = 0) override;
  void mouse_up(Element& element, float x, float y, int16_t button = kLeftButton,
                int16_t shift = 0) override;
  void mouse_move(Element& element, float x, float y, int16_t buttons = 0,
                  int16_t shift = 0) override;
  // A list box that takes input handles the key (HeadlessListBox::type_key);
  // no other in-memory element handles keys.
  void press_key(Element& element, int16_t key_code) override;
  // The surface reports the key when it takes input (HeadlessSurface::type_key).
  void press_key(Surface& surface, int16_t key_code) override;
  // Appends each character (Enter as CR LF in a multi-line box), reporting
  // a change for each, when the box takes input.
  void type_text(TextBox& box, const std::u16string& text) override;
  // Sets the surface's inner size and reports it by on_resize.
  void resize(Surface& surface, float width, float height) override;
  Element* element_at(Container& container, float x, float y) override;
  void on_modal(std::function<void(Form&)> script) override;
  void on_open_file(std::function<bool(OpenFileRecord&)> script) override;
  // Nothing is ever pending on the headless platform.
  void pump() override {}

  // Whether user input reaches the element now.
  static bool reachable(const Element& element);

 private:
  // Where a point of an element goes: the element holding the mouse (when
  // follow_capture), else the element under it; and the point in that
  // element's coordinates. A test releases what it presses before the
  // pressed element goes.
  struct Aim {
    Element* target = nullptr;
    float x = 0;
    float y = 0;
  };
  Aim aim(Element& element, float x, float y, bool follow_capture = true) const;
  // The press (or double click) and release of one button at a point.
  void press(Element& element, float x, float y, int16_t button, int16_t shift, bool second);

  HeadlessPlatform& platform_;
  // The element holding the mouse since a press, the button that pressed,
  // and whether the press was a double click's second.
  Element* captured_ = nullptr;
  int16_t captured_button_ = 0;
  bool captured_by_double_ = false;
};

}  // namespace qs
