// AddRemove's members: one row per member of _AddRemove.
#include "QuorralSet_dual.h"
#include "controls/addremove/addremove.h"
#include "server_class.h"

namespace qs::activex {
namespace {

const MemberTable& members() {
  using C = AddRemove;
  static const MemberTable table{
      {
          method(u"Load_Lists", &C::Load_Lists),
          method(u"Save_Lists", &C::Save_Lists),
          method(u"ShowAboutBox", &C::ShowAboutBox),
          property(u"BackColor", &C::BackColor, &C::set_BackColor),
          property(u"ForeColor", &C::ForeColor, &C::set_ForeColor),
          property(u"Enabled", &C::Enabled, &C::set_Enabled),
          property(u"Font", &C::Font, &C::set_Font),
          property(u"BackStyle", &C::BackStyle, &C::set_BackStyle),
          property(u"BorderStyle", &C::BorderStyle, &C::set_BorderStyle),
          method(u"Refresh", &C::Refresh),
          property(u"Orientation", &C::Orientation, &C::set_Orientation),
          indexed(u"Llist", &C::Llist, &C::set_Llist),
          indexed(u"LItemData", &C::LItemData, &C::set_LItemData),
          indexed(u"RList", &C::RList, &C::set_RList),
          method(u"LAddItem", &C::LAddItem),
          method(u"LRemoveItem", &C::LRemoveItem),
          method(u"RAddItem", &C::RAddItem),
          method(u"RRemoveItem", &C::RRemoveItem),
          indexed(u"RItemData", &C::RItemData, &C::set_RItemData),
          property(u"LTitle", &C::LTitle, &C::set_LTitle),
          property(u"RTitle", &C::RTitle, &C::set_RTitle),
          property(u"ShowTitles", &C::ShowTitles, &C::set_ShowTitles),
          property(u"LeftList", &C::LeftList, &C::set_LeftList),
          property(u"RightList", &C::RightList, &C::set_RightList),
          // The left item data is stored under a key of its own.
          property(u"LeftListItemData", &C::LeftListItemData, &C::set_LeftListItemData)
              .stored_as(u"ListListItemData"),
          property(u"RightListItemData", &C::RightListItemData, &C::set_RightListItemData),
      },
      {{u"Change", C::kChangeEvent}},
      {{u"qrOrientation", {{u"qrLeftToRight", qrLeftToRight}, {u"qrRightToLeft", qrRightToLeft}}}},
  };
  return table;
}

}  // namespace

const ServerClass& server_class_addremove() {
  static const ServerClass c = control_class<Dual_AddRemove, AddRemove>(u"AddRemove", members());
  return c;
}

}  // namespace qs::activex
