// The LeftList property page of AddRemove: a page class with no members.
#include "controls/addremove/list_pages.h"
#include "property_page_object.h"

namespace qs::activex {

const ServerClass& server_class_leftlist() {
  static const ServerClass c = page_class<LeftList>(
      u"LeftList", {LeftList::kDesign.caption, ListPage::kWidth, ListPage::kHeight});
  return c;
}

}  // namespace qs::activex
