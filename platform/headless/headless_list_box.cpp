#include "platform/headless/headless_list_box.h"

#include "platform/headless/headless_keys.h"

namespace qs {

void HeadlessListBox::check_index(int index, int32_t error) const {
  if (index < 0 || index >= list_count()) throw RuntimeError(error);
}

void HeadlessListBox::add_item(const std::u16string& text, std::optional<int> index) {
  int at = index.value_or(list_count());
  if (at < 0 || at > list_count()) throw RuntimeError(kErrInvalidCall);
  items_.insert(items_.begin() + at, Item{text, 0});
  if (selected_ >= at) ++selected_;
}

void HeadlessListBox::remove_item(int index) {
  check_index(index, kErrInvalidCall);
  items_.erase(items_.begin() + index);
  if (selected_ == index) {
    selected_ = -1;
  } else if (selected_ > index) {
    --selected_;
  }
}

void HeadlessListBox::clear() {
  items_.clear();
  selected_ = -1;
}

std::u16string HeadlessListBox::list(int index) const {
  check_index(index, kErrInvalidArrayIndex);
  return items_[index].text;
}

void HeadlessListBox::set_list(int index, const std::u16string& text) {
  check_index(index, kErrInvalidArrayIndex);
  items_[index].text = text;
}

int32_t HeadlessListBox::item_data(int index) const {
  check_index(index, kErrInvalidArrayIndex);
  return items_[index].data;
}

void HeadlessListBox::set_item_data(int index, int32_t data) {
  check_index(index, kErrInvalidArrayIndex);
  items_[index].data = data;
}

void HeadlessListBox::add_items(std::vector<ListItem> items) {
  Update hold(*this);
  // Appended below every item, so the selection stays where it is.
  items_.reserve(items_.size() + items.size());
  for (ListItem& item : items) items_.push_back(std::move(item));
}

void HeadlessListBox::begin_update() {
  ++open_updates_;
  ++updates_opened_;
}

void HeadlessListBox::end_update() { --open_updates_; }

void HeadlessListBox::set_list_index(int index) {
  if (index < -1 || index >= list_count()) throw RuntimeError(kErrInvalidPropertyValue);
  selected_ = index;
  if (index >= 0) {
    // A copy, so a handler that replaces on_click does not destroy the running one.
    auto handler = on_click;
    if (handler) handler();
  }
}

void HeadlessListBox::set_integral_height(bool on) {
  integral_height_ = on;
  const Bounds b = bounds();
  move(b.left, b.top, b.width, b.height);
}

void HeadlessListBox::move(float left, std::optional<float> top, std::optional<float> width,
                           std::optional<float> height) {
  if (integral_height_ && height && *height >= 0 && *height < kRowHeight) height = kRowHeight;
  HeadlessElement::move(left, top, width, height);
}

namespace {

char16_t fold(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }

}  // namespace

void HeadlessListBox::type_key(int16_t key_code) {
  int16_t code = key_code;
  int16_t shift = 0;
  if (auto h = on_key_down) h(code, shift);
  if (int16_t ascii = headless_key_char(key_code); ascii != 0) {
    if (auto h = on_key_press) h(ascii);
    if (ascii >= 32 && !items_.empty()) {
      const int n = list_count();
      for (int step = 1; step <= n; ++step) {
        const int i = (selected_ + step + n) % n;
        const std::u16string& t = items_[static_cast<size_t>(i)].text;
        if (!t.empty() && fold(t[0]) == fold(static_cast<char16_t>(ascii))) {
          set_list_index(i);
          break;
        }
      }
    }
  }
  code = key_code;
  shift = 0;
  if (auto h = on_key_up) h(code, shift);
}

}  // namespace qs
