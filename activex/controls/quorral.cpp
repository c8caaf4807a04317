// Quorral's members: one row per member of _Quorral.
#include "QuorralSet_dual.h"
#include "controls/quorral/quorral.h"
#include "server_class.h"

namespace qs::activex {
namespace {

const MemberTable& members() {
  using C = Quorral;
  static const MemberTable table{
      {
          method(u"Set_Icon", &C::Set_Icon),
          property(u"SysToolTip", &C::SysToolTip, &C::set_SysToolTip),
          property(u"MouseSensitivity", &C::MouseSensitivity, &C::set_MouseSensitivity),
          method(u"ShowAboutBox", &C::ShowAboutBox),
          property(u"SysIcon", &C::SysIcon, &C::set_SysIcon),
          property(u"MouseX", &C::MouseX, &C::set_MouseX),
          property(u"MouseY", &C::MouseY, &C::set_MouseY),
          property(u"MsgBoxPicture", &C::MsgBoxPicture, &C::set_MsgBoxPicture),
      },
      {
          {u"MouseMove", C::kMouseMoveEvent},
          {u"DoubleClick", C::kDoubleClickEvent},
          {u"Click", C::kClickEvent},
      },
      {},
  };
  return table;
}

}  // namespace

const ServerClass& server_class_quorral() {
  static const ServerClass c = control_class<Dual_Quorral, Quorral>(u"Quorral", members());
  return c;
}

}  // namespace qs::activex
