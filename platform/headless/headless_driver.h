// Acts as a user on the in-memory platform: input reaches an element only when
// the element is enabled and visible and its container accepts input (an
// enabled surface, a shown form, nothing modal above it).
#pragma once

#include "platform/driver.h"
#include "platform/headless/headless_platform.h"

namespace qs {

class HeadlessDriver final : public Driver {
 public:
  explicit HeadlessDriver(HeadlessPlatform& platform) : platform_(platform) {}

  // Clicks a label or a command button; a list box takes click_item instead
  // (std::invalid_argument).
  void click(Element& element) override;
  // Selects the item as the user does, which reports a click; an index that
  // names no item is a fault of the test (std::out_of_range).
  void click_item(ListBox& list, int index) override;
  // The click, then the double-click if the list still takes input.
  void double_click_item(ListBox& list, int index) override;
  // Sets the surface's inner size and reports it by on_resize.
  void resize(Surface& surface, float width, float height) override;
  Element* element_at(Container& container, float x, float y) override;
  void on_modal(std::function<void(Form&)> script) override;
  // Nothing is ever pending on the headless platform.
  void pump() override {}

  // Whether user input reaches the element now.
  static bool reachable(const Element& element);

 private:
  HeadlessPlatform& platform_;
};

}  // namespace qs
