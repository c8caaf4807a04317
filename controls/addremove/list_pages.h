// AddRemove's two property pages, LeftList and RightList. Each edits one
// list's items and item data as list texts in two multi-line boxes, one
// line per item, through the selected control's whole-list properties.
#pragma once

#include <memory>
#include <string_view>

#include "library/property_page.h"
#include "platform/platform.h"

namespace qs {

// What tells the two pages apart: captions, element names and positions
// (twips), and the properties they edit.
struct ListPageDesign {
  std::u16string_view caption;
  std::u16string_view items_label_name;
  std::u16string_view items_label_caption;
  Bounds items_label_bounds;
  std::u16string_view items_box_name;
  Bounds items_box_bounds;
  std::u16string_view data_label_name;
  Bounds data_label_bounds;
  std::u16string_view data_box_name;
  Bounds data_box_bounds;
  std::u16string_view items_property;
  std::u16string_view data_property;
};

class ListPage : public PropertyPage {
 public:
  // The page's size in twips (both pages).
  static constexpr float kWidth = 5925;
  static constexpr float kHeight = 3495;

  ListPage(std::unique_ptr<Surface> surface, PageSite& site, const ListPageDesign& design);

  std::u16string caption() const override;
  float page_width() const override { return kWidth; }
  float page_height() const override { return kHeight; }

  // Fills the item-data box, then the items box, from the first selected
  // object; a box whose text changes sets the changed flag.
  void SelectionChanged() override;
  // Assigns the item-data box, then the items box, to the first selected
  // object; the items assignment makes an AddRemove reload both lists.
  void ApplyChanges() override;

  Label& items_label() { return *items_label_; }
  TextBox& items_box() { return *items_box_; }
  Label& data_label() { return *data_label_; }
  TextBox& data_box() { return *data_box_; }

 private:
  const ListPageDesign& design_;
  Label* items_label_ = nullptr;
  TextBox* items_box_ = nullptr;
  Label* data_label_ = nullptr;
  TextBox* data_box_ = nullptr;
};

// The page editing LeftList and LeftListItemData.
class LeftList final : public ListPage {
 public:
  static const ListPageDesign kDesign;
  LeftList(std::unique_ptr<Surface> surface, PageSite& site)
      : ListPage(std::move(surface), site, kDesign) {}
};

// The page editing RightList and RightListItemData.
class RightList final : public ListPage {
 public:
  static const ListPageDesign kDesign;
  RightList(std::unique_ptr<Surface> surface, PageSite& site)
      : ListPage(std::move(surface), site, kDesign) {}
};

}  // namespace qs
