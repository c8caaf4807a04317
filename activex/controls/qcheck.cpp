// qCheck's members: one row per member of _qCheck.
#include "QuorralSet_dual.h"
#include "controls/qcheck/qcheck.h"
#include "server_class.h"

namespace qs::activex {
namespace {

const MemberTable& members() {
  using C = qCheck;
  static const MemberTable table{
      {
          property(u"BackColor", &C::BackColor, &C::set_BackColor),
          property(u"Enabled", &C::Enabled, &C::set_Enabled),
          property(u"BackStyle", &C::BackStyle, &C::set_BackStyle),
          property(u"BorderStyle", &C::BorderStyle, &C::set_BorderStyle),
          method(u"ShowAboutBox", &C::ShowAboutBox),
          property(u"ForeColor", &C::ForeColor, &C::set_ForeColor),
          property(u"Font", &C::Font, &C::set_Font),
          method(u"Refresh", &C::Refresh),
          property(u"Caption", &C::Caption, &C::set_Caption),
          property(u"ClearColor", &C::ClearColor, &C::set_ClearColor),
          property(u"CheckColor", &C::CheckColor, &C::set_CheckColor),
          property(u"IndeterminantColor", &C::IndeterminantColor, &C::set_IndeterminantColor),
          property(u"Value", &C::Value, &C::set_Value),
          property(u"CheckType", &C::CheckType, &C::set_CheckType),
          property(u"Alignment", &C::Alignment, &C::set_Alignment),
      },
      {
          {u"KeyDown", C::kKeyDownEvent},
          {u"KeyPress", C::kKeyPressEvent},
          {u"KeyUp", C::kKeyUpEvent},
          {u"MouseDown", C::kMouseDownEvent},
          {u"MouseMove", C::kMouseMoveEvent},
          {u"MouseUp", C::kMouseUpEvent},
          {u"Click", C::kClickEvent},
          {u"DblClick", C::kDblClickEvent},
          {u"Change", C::kChangeEvent},
      },
      {
          {u"CHType", {{u"TwoState", TwoState}, {u"ThreeState", ThreeState}}},
          {u"alignlr", {{u"LEFT", LEFT}, {u"Right", Right}}},
      },
  };
  return table;
}

}  // namespace

const ServerClass& server_class_qcheck() {
  static const ServerClass c = control_class<Dual_qCheck, qCheck>(u"qCheck", members());
  return c;
}

}  // namespace qs::activex
