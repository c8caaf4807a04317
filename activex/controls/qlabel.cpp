// qLabel's members: one row per member of _qLabel.
#include "QuorralSet_dual.h"
#include "controls/qlabel/qlabel.h"
#include "server_class.h"

namespace qs::activex {
namespace {

const MemberTable& members() {
  using C = qLabel;
  static const MemberTable table{
      {
          property(u"BackColor", &C::BackColor, &C::set_BackColor),
          property(u"ForeColor", &C::ForeColor, &C::set_ForeColor),
          property(u"Enabled", &C::Enabled, &C::set_Enabled),
          property(u"Font", &C::Font, &C::set_Font),
          property(u"BackStyle", &C::BackStyle, &C::set_BackStyle),
          property(u"BorderStyle", &C::BorderStyle, &C::set_BorderStyle),
          method(u"Refresh", &C::Refresh),
          method(u"ShowAboutBox", &C::ShowAboutBox),
          property(u"Shadow", &C::Shadow, &C::set_Shadow),
          property(u"ShadowColor", &C::ShadowColor, &C::set_ShadowColor),
          property(u"Caption", &C::Caption, &C::set_Caption),
      },
      {
          {u"Click", C::kClickEvent},
          {u"DblClick", C::kDblClickEvent},
          {u"MouseDown", C::kMouseDownEvent},
          {u"MouseMove", C::kMouseMoveEvent},
          {u"MouseUp", C::kMouseUpEvent},
      },
      {},
  };
  return table;
}

}  // namespace

const ServerClass& server_class_qlabel() {
  static const ServerClass c = control_class<Dual_qLabel, qLabel>(u"qLabel", members());
  return c;
}

}  // namespace qs::activex
