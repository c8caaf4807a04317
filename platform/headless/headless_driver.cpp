#include "platform/headless/headless_driver.h"

#include <stdexcept>

#include "platform/headless/headless_container.h"
#include "platform/headless/headless_element.h"
#include "platform/headless/headless_list_box.h"
#include "platform/headless/headless_surface.h"

namespace qs {

namespace {

HeadlessContainer& headless(Container& container) {
  auto* c = dynamic_cast<HeadlessContainer*>(&container);
  if (c == nullptr) throw std::invalid_argument("not a container of the headless platform");
  return *c;
}

const HeadlessNode& node_of(const Element& element) {
  auto* node = dynamic_cast<const HeadlessNode*>(&element);
  if (node == nullptr) throw std::invalid_argument("not an element of the headless platform");
  return *node;
}

// Runs a handler from a copy, so a handler that replaces itself keeps running.
void fire(const std::function<void()>& handler) {
  auto copy = handler;
  if (copy) copy();
}

void fire(const std::function<void(MouseReport&)>& handler, MouseReport report) {
  auto copy = handler;
  if (copy) copy(report);
}

bool inside(const Element& element, float x, float y) {
  Bounds b = element.bounds();
  return x >= 0 && x < b.width && y >= 0 && y < b.height;
}

}  // namespace

bool HeadlessDriver::reachable(const Element& element) {
  return element.visible() && element.enabled() && node_of(element).parent().accepts_input();
}

HeadlessDriver::Aim HeadlessDriver::aim(Element& element, float x, float y,
                                        bool follow_capture) const {
  const HeadlessContainer& parent = node_of(element).parent();
  Bounds b = element.bounds();
  float cx = b.left + x;
  float cy = b.top + y;
  // A captured element takes everything, in its own coordinates.
  if (follow_capture && captured_ != nullptr && &node_of(*captured_).parent() == &parent) {
    Bounds c = captured_->bounds();
    return {captured_, cx - c.left, cy - c.top};
  }
  // Input outside the window region reaches nothing in the container.
  if (!parent.in_window_region(cx, cy)) return {};
  if (!element.windowless()) return {&element, x, y};
  Element* hit = parent.element_at(cx, cy);
  if (hit == nullptr) return {};
  Bounds h = hit->bounds();
  return {hit, cx - h.left, cy - h.top};
}

void HeadlessDriver::mouse_down(Element& element, float x, float y, int16_t button,
                                int16_t shift) {
  Aim a = aim(element, x, y);
  // A list box takes its own mouse reports; its clicks are selections (click_item).
  if (auto* list = dynamic_cast<ListBox*>(a.target)) {
    if (reachable(*list)) fire(list->on_mouse_down, MouseReport{button, shift, a.x, a.y});
    return;
  }
  auto* source = dynamic_cast<MouseSource*>(a.target);
  if (source == nullptr || !reachable(*a.target)) return;
  if (captured_ == nullptr) {
    captured_ = a.target;
    captured_button_ = button;
    captured_by_double_ = false;
  }
  fire(source->on_mouse_down, MouseReport{button, shift, a.x, a.y});
}

void HeadlessDriver::mouse_move(Element& element, float x, float y, int16_t buttons,
                                int16_t shift) {
  Aim a = aim(element, x, y);
  // A list box takes its own mouse reports; its clicks are selections (click_item).
  if (auto* list = dynamic_cast<ListBox*>(a.target)) {
    if (reachable(*list)) fire(list->on_mouse_move, MouseReport{buttons, shift, a.x, a.y});
    return;
  }
  auto* source = dynamic_cast<MouseSource*>(a.target);
  if (source == nullptr || !reachable(*a.target)) return;
  fire(source->on_mouse_move, MouseReport{buttons, shift, a.x, a.y});
}

void HeadlessDriver::mouse_up(Element& element, float x, float y, int16_t button, int16_t shift) {
  Aim a = aim(element, x, y);
  // A list box takes its own mouse reports; its clicks are selections (click_item).
  if (auto* list = dynamic_cast<ListBox*>(a.target)) {
    if (reachable(*list)) fire(list->on_mouse_up, MouseReport{button, shift, a.x, a.y});
    return;
  }
  auto* source = dynamic_cast<MouseSource*>(a.target);
  bool ends_press = captured_ != nullptr && a.target == captured_ && button == captured_button_;
  bool clicks = false;
  if (ends_press) {
    // A click needs the release over the pressed element, not under another.
    Aim under = aim(element, x, y, false);
    clicks = button == kLeftButton && !captured_by_double_ && under.target == captured_ &&
             inside(*under.target, under.x, under.y);
    captured_ = nullptr;
  }
  if (source == nullptr || !reachable(*a.target)) return;
  fire(source->on_mouse_up, MouseReport{button, shift, a.x, a.y});
  if (clicks && reachable(*a.target)) fire(source->on_click);
}

void HeadlessDriver::press(Element& element, float x, float y, int16_t button, int16_t shift,
                           bool second) {
  if (!second) {
    mouse_down(element, x, y, button, shift);
  } else {
    Aim a = aim(element, x, y);
    auto* source = dynamic_cast<MouseSource*>(a.target);
    if (source != nullptr && reachable(*a.target)) {
      if (captured_ == nullptr) {
        captured_ = a.target;
        captured_button_ = button;
        captured_by_double_ = true;
      }
      fire(source->on_dbl_click);
    }
  }
  mouse_up(element, x, y, button, shift);
}

void HeadlessDriver::click(Element& element) {
  if (dynamic_cast<ListBox*>(&element) != nullptr) {
    throw std::invalid_argument("click_item selects an item of a list box");
  }
  Bounds b = element.bounds();
  if (auto* button = dynamic_cast<CommandButton*>(&element)) {
    const bool in_window =
        node_of(element).parent().in_window_region(b.left + b.width / 2, b.top + b.height / 2);
    if (in_window && reachable(element)) fire(button->on_click);
    return;
  }
  press(element, b.width / 2, b.height / 2, kLeftButton, 0, false);
}

void HeadlessDriver::double_click(Element& element) {
  if (dynamic_cast<MouseSource*>(&element) == nullptr) {
    throw std::invalid_argument("double_click: the element takes no mouse input");
  }
  Bounds b = element.bounds();
  press(element, b.width / 2, b.height / 2, kLeftButton, 0, false);
  press(element, b.width / 2, b.height / 2, kLeftButton, 0, true);
}

void HeadlessDriver::press_key(Element& element, int16_t key_code) {
  node_of(element);
  if (auto* list = dynamic_cast<HeadlessListBox*>(&element); list != nullptr && reachable(*list)) {
    list->type_key(key_code);
  }
}

void HeadlessDriver::press_key(Surface& surface, int16_t key_code) {
  auto* s = dynamic_cast<HeadlessSurface*>(&surface);
  if (s == nullptr) throw std::invalid_argument("not a surface of the headless platform");
  if (s->accepts_input()) s->type_key(key_code);
}

void HeadlessDriver::type_text(TextBox& box, const std::u16string& text) {
  node_of(box);
  if (!reachable(box)) return;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      // CR LF is one press of Enter.
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      if (box.style().multi_line) box.set_text(box.text() + u"\r\n");
      continue;
    }
    box.set_text(box.text() + c);
  }
}

void HeadlessDriver::click_item(ListBox& list, int index) {
  if (index < 0 || index >= list.list_count()) {
    throw std::out_of_range("click_item: no item at that index");
  }
  if (!reachable(list)) return;
  list.set_list_index(index);
}

void HeadlessDriver::double_click_item(ListBox& list, int index) {
  click_item(list, index);
  // The click's handler may have disabled or hidden the list; then the
  // second press never arrives.
  if (reachable(list)) fire(list.on_dbl_click);
}

void HeadlessDriver::resize(Surface& surface, float width, float height) {
  auto* s = dynamic_cast<HeadlessSurface*>(&surface);
  if (s == nullptr) throw std::invalid_argument("not a surface of the headless platform");
  s->resize(width, height);
}

Element* HeadlessDriver::element_at(Container& container, float x, float y) {
  return headless(container).element_at(x, y);
}

void HeadlessDriver::on_modal(std::function<void(Form&)> script) {
  platform_.set_modal_script(std::move(script));
}

void HeadlessDriver::on_open_file(std::function<bool(OpenFileRecord&)> script) {
  platform_.set_open_file_script(std::move(script));
}

}  // namespace qs
