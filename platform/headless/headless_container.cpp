#include "platform/headless/headless_container.h"

#include <algorithm>
#include <cmath>
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
  if (!in_window_region(x, y)) return nullptr;
  for (Element* element : stacking_order()) {
    if (!element->visible()) continue;
    Bounds b = element->bounds();
    if (x >= b.left && x < b.left + b.width && y >= b.top && y < b.top + b.height) {
      return element;
    }
  }
  return nullptr;
}

bool HeadlessContainer::in_window_region(float x, float y) const {
  if (!has_window_region_) return true;
  auto px = static_cast<int32_t>(std::lrint(x * twips_per_unit() / kHeadlessTwipsPerPixel));
  auto py = static_cast<int32_t>(std::lrint(y * twips_per_unit() / kHeadlessTwipsPerPixel));
  return window_region_.contains(px, py);
}

// The in-memory window paints nothing, so the redraw it asks for has nothing to do.
void HeadlessContainer::set_window_region(RegionHandle region, bool /*redraw*/) {
  SoftwareRegions& regions = platform_.software_regions();
  if (region == 0) {
    window_region_ = RegionShape();
    has_window_region_ = false;
  } else {
    RegionShape taken;
    // An unknown handle fails the call and leaves the window as it was.
    if (!regions.take(region, taken)) return;
    window_region_ = std::move(taken);
    has_window_region_ = true;
  }
  ++window_region_changes_;
}

bool HeadlessContainer::invert_region(RegionHandle region) {
  const RegionShape* shape = platform_.software_regions().shape(region);
  if (shape == nullptr) return false;
  region_paints_.push_back({0, shape->rects()});
  return true;
}

bool HeadlessContainer::fill_region(RegionHandle region, GdiObject brush) {
  const RegionShape* shape = platform_.software_regions().shape(region);
  if (shape == nullptr || !SoftwareRegions::is_stock_brush(brush)) return false;
  region_paints_.push_back({brush, shape->rects()});
  return true;
}

int HeadlessContainer::invert_count() const {
  return static_cast<int>(std::count_if(region_paints_.begin(), region_paints_.end(),
                                        [](const RegionPaint& p) { return p.brush == 0; }));
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

void HeadlessContainer::change_scale_mode(int16_t mode) {
  if (mode != 1 && mode != 3) throw RuntimeError(kErrInvalidPropertyValue);
  scale_mode_ = mode;
}

template <class Interface>
Platform& HeadlessContainerOf<Interface>::platform() {
  return headless_platform();
}

template class HeadlessContainerOf<Surface>;
template class HeadlessContainerOf<Form>;

}  // namespace qs
