// The RightList property page of AddRemove: a page class with no members.
#include "controls/addremove/list_pages.h"
#include "property_page_object.h"

namespace qs::activex {

const ServerClass& server_class_rightlist() {
  static const ServerClass c = page_class<RightList>(
      u"RightList", {RightList::kDesign.caption, ListPage::kWidth, ListPage::kHeight});
  return c;
}

}  // namespace qs::activex
