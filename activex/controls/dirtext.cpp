// Dirtext's members: one row per member of _Dirtext.
#include "QuorralSet_dual.h"
#include "controls/dirtext/dirtext.h"
#include "server_class.h"

namespace qs::activex {
namespace {

const MemberTable& members() {
  using C = Dirtext;
  static const MemberTable table{
      {
          property(u"BackColor", &C::BackColor, &C::set_BackColor),
          property(u"ForeColor", &C::ForeColor, &C::set_ForeColor),
          property(u"Enabled", &C::Enabled, &C::set_Enabled),
          property(u"Font", &C::Font, &C::set_Font),
          property(u"BorderStyle", &C::BorderStyle, &C::set_BorderStyle),
          property(u"Filter", &C::Filter, &C::set_Filter),
          property(u"Caption", &C::Caption, &C::set_Caption),
          property(u"MultiSelect", &C::MultiSelect, &C::set_MultiSelect),
          // Announced under its store key.
          property(u"dlgType", &C::dlgType, &C::set_dlgType).stored_as(u"DlgType"),
          method(u"ShowDlg", &C::ShowDlg),
          method(u"ShowAboutBox", &C::ShowAboutBox),
          indexed(u"List", &C::List, &C::set_List),
          read_only(u"ListCount", &C::ListCount),
          property(u"ListIndex", &C::ListIndex, &C::set_ListIndex),
          property(u"Text", &C::Text, &C::set_Text),
          method(u"AddItem", &C::AddItem),
          method(u"Clear", &C::Clear),
      },
      {
          {u"Click", C::kClickEvent},
          {u"DblClick", C::kDblClickEvent},
          {u"KeyDown", C::kKeyDownEvent},
          {u"KeyPress", C::kKeyPressEvent},
          {u"KeyUp", C::kKeyUpEvent},
          {u"MouseDown", C::kMouseDownEvent},
          {u"MouseMove", C::kMouseMoveEvent},
          {u"MouseUp", C::kMouseUpEvent},
          {u"FileSelected", C::kFileSelectedEvent},
      },
      {
          {u"dlgTypes", {{u"dtOpenFile", dtOpenFile}, {u"dtSaveFile", dtSaveFile}, {u"dtDirectory", dtDirectory}}},
      },
  };
  return table;
}

}  // namespace

const ServerClass& server_class_dirtext() {
  static const ServerClass c = control_class<Dual_Dirtext, Dirtext>(u"Dirtext", members());
  return c;
}

}  // namespace qs::activex
