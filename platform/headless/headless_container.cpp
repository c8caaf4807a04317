#include "platform/headless/headless_container.h"

#include <stdexcept>

#include "core/runtime_error.h"
#include "platform/headless/headless_command_button.h"
#include "platform/headless/headless_image.h"
#include "platform/headless/headless_label.h"
#include "platform/headless/headless_list_box.h"
#include "platform/headless/headless_picture_box.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_text_box.h"

namespace qs {

HeadlessContainer::~HeadlessContainer() = default;

template <class E>
E& HeadlessContainer::adopt(std::unique_ptr<E> element) {
  if (find_element(element->name()) != nullptr) {
    throw std::invalid_argument("a child element of this name exists already");
  }
  E& added = *element;
  elements_.push_back(std::move(element));
  return added;
}

ListBox& HeadlessContainer::add_list_box(const std::u16string& name) {
  int tab = static_cast<int>(elements_.size());
  return adopt(std::make_unique<HeadlessListBox>(*this, name, tab));
}

CommandButton& HeadlessContainer::add_command_button(const std::u16string& name) {
  int tab = static_cast<int>(elements_.size());
  return adopt(std::make_unique<HeadlessCommandButton>(*this, name, tab));
}

Label& HeadlessContainer::add_label(const std::u16string& name) {
  int tab = static_cast<int>(elements_.size());
  return adopt(std::make_unique<HeadlessLabel>(*this, name, tab));
}

PictureBox& HeadlessContainer::add_picture_box(const std::u16string& name) {
  int tab = static_cast<int>(elements_.size());
  return adopt(std::make_unique<HeadlessPictureBox>(*this, name, tab));
}

Image& HeadlessContainer::add_image(const std::u16string& name) {
  int tab = static_cast<int>(elements_.size());
  return adopt(std::make_unique<HeadlessImage>(*this, name, tab));
}

TextBox& HeadlessContainer::add_text_box(const std::u16string& name, TextBoxStyle style) {
  int tab = static_cast<int>(elements_.size());
  return adopt(std::make_unique<HeadlessTextBox>(*this, name, tab, style));
}

std::vector<Element*> HeadlessContainer::stacking_order() const {
  std::vector<Element*> order;
  order.reserve(elements_.size());
  for (bool windowless : {false, true}) {
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
      if ((*it)->windowless() == windowless) order.push_back(it->get());
    }
  }
  return order;
}

Element* HeadlessContainer::element_at(float x, float y) const {
  for (Element* element : stacking_order()) {
    if (!element->visible()) continue;
    Bounds b = element->bounds();
    if (x >= b.left && x < b.left + b.width && y >= b.top && y < b.top + b.height) {
      return element;
    }
  }
  return nullptr;
}

Element* HeadlessContainer::find_element(const std::u16string& name) const {
  for (const auto& element : elements_) {
    if (element->name() == name) return element.get();
  }
  return nullptr;
}

void HeadlessContainer::set_scale_size(float width, float height) {
  if (width < 0 || height < 0) throw RuntimeError(kErrInvalidPropertyValue);
  scale_width_ = width;
  scale_height_ = height;
}

template <class Interface>
Platform& HeadlessContainerOf<Interface>::platform() {
  return headless_platform();
}

template class HeadlessContainerOf<Surface>;
template class HeadlessContainerOf<Form>;

}  // namespace qs
