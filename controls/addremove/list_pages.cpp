#include "controls/addremove/list_pages.h"

#include <string>

namespace qs {

const ListPageDesign LeftList::kDesign{
    u"Left List",
    u"lblLeftList", u"Left List", {90, 120, 2700, 240},
    u"txtLeftList", {90, 370, 2700, 2955},
    u"lblLeftListItemData", {2805, 75, 2700, 240},
    u"txtLeftListItemData", {2820, 360, 2700, 2985},
    u"LeftList", u"LeftListItemData",
};

const ListPageDesign RightList::kDesign{
    u"Right List",
    u"lblRightList", u"Right List", {90, 120, 2700, 240},
    u"txtRightList", {90, 370, 2700, 2970},
    u"lblRightListItemData", {2880, 75, 2700, 240},
    u"txtRightListItemData", {2865, 375, 3000, 2985},
    u"RightList", u"RightListItemData",
};

namespace {

void place(Element& element, const Bounds& b, int tab_index) {
  element.move(b.left, b.top, b.width, b.height);
  element.set_tab_index(tab_index);
}

}  // namespace

ListPage::ListPage(std::unique_ptr<Surface> surface, PageSite& site, const ListPageDesign& design)
    : PropertyPage(std::move(surface), site), design_(design) {
  Surface& sf = this->surface();
  const TextBoxStyle list_box_style{/*multi_line=*/true, ScrollBars::kVertical};
  // Created in tab order, so the platform's own order agrees with it.
  items_label_ = &sf.create_label(std::u16string(design.items_label_name));
  items_box_ = &sf.create_text_box(std::u16string(design.items_box_name), list_box_style);
  data_label_ = &sf.create_label(std::u16string(design.data_label_name));
  data_box_ = &sf.create_text_box(std::u16string(design.data_box_name), list_box_style);

  items_label_->set_caption(std::u16string(design.items_label_caption));
  data_label_->set_caption(u"Item Data");
  place(*items_label_, design.items_label_bounds, 0);
  place(*items_box_, design.items_box_bounds, 1);
  place(*data_label_, design.data_label_bounds, 2);
  place(*data_box_, design.data_box_bounds, 3);

  // A change of either box, typed or filled in, lets the designer apply.
  items_box_->on_change = [this] { set_changed(); };
  data_box_->on_change = [this] { set_changed(); };
}

std::u16string ListPage::caption() const { return std::u16string(design_.caption); }

void ListPage::SelectionChanged() {
  PageObject& object = first_selected();
  data_box_->set_text(object.get_property(design_.data_property).to_text());
  items_box_->set_text(object.get_property(design_.items_property).to_text());
}

void ListPage::ApplyChanges() {
  PageObject& object = first_selected();
  object.set_property(design_.data_property, Variant(data_box_->text()));
  object.set_property(design_.items_property, Variant(items_box_->text()));
}

}  // namespace qs
