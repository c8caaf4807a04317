#include "platform/headless/headless_driver.h"

#include <stdexcept>

#include "platform/headless/headless_container.h"
#include "platform/headless/headless_element.h"
#include "platform/headless/headless_surface.h"

namespace qs {

namespace {

HeadlessContainer& headless(Container& container) {
  auto* c = dynamic_cast<HeadlessContainer*>(&container);
  if (c == nullptr) throw std::invalid_argument("not a container of the headless platform");
  return *c;
}

// Runs a handler from a copy, so a handler that replaces itself keeps running.
void fire(const std::function<void()>& handler) {
  auto copy = handler;
  if (copy) copy();
}

}  // namespace

bool HeadlessDriver::reachable(const Element& element) {
  auto* node = dynamic_cast<const HeadlessNode*>(&element);
  if (node == nullptr) throw std::invalid_argument("not an element of the headless platform");
  return element.visible() && element.enabled() && node->parent().accepts_input();
}

void HeadlessDriver::click(Element& element) {
  if (dynamic_cast<ListBox*>(&element) != nullptr) {
    throw std::invalid_argument("click_item selects an item of a list box");
  }
  if (!reachable(element)) return;
  if (auto* label = dynamic_cast<Label*>(&element)) {
    fire(label->on_click);
  } else if (auto* button = dynamic_cast<CommandButton*>(&element)) {
    fire(button->on_click);
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

}  // namespace qs
