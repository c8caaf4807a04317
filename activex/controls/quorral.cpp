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
          method(u"FloatWindow", &C::FloatWindow),
          property(u"SysToolTip", &C::SysToolTip, &C::set_SysToolTip),
          property(u"MouseSensitivity", &C::MouseSensitivity, &C::set_MouseSensitivity),
          method(u"ShowAboutBox", &C::ShowAboutBox),
          property(u"SysIcon", &C::SysIcon, &C::set_SysIcon),
          property(u"MouseX", &C::MouseX, &C::set_MouseX),
          property(u"MouseY", &C::MouseY, &C::set_MouseY),
          property(u"MsgBoxPicture", &C::MsgBoxPicture, &C::set_MsgBoxPicture),
          method(u"MsgBox", &C::MsgBox),
          method(u"PlaySound", &C::PlaySound),
          method(u"WinCrypt", &C::WinCrypt),
      },
      {
          {u"MouseMove", C::kMouseMoveEvent},
          {u"DoubleClick", C::kDoubleClickEvent},
          {u"Click", C::kClickEvent},
      },
      {
          {u"msgButtons",
           {{u"msgok", 0},
            {u"msgYesNo", 1},
            {u"msgOKCancel", 2},
            {u"msgYesNoCancel", 3},
            {u"msgAbortRetry", 4},
            {u"msgAbortRetryIgnore", 5}}},
          {u"Spikes",
           {{u"spkNone", 0},
            {u"spkTopLeft", 1},
            {u"spkTopRight", 2},
            {u"spkBottomRight", 3},
            {u"spkBottomLeft", 4}}},
      },
  };
  return table;
}

}  // namespace

const ServerClass& server_class_quorral() {
  static const ServerClass c = control_class<Dual_Quorral, Quorral>(u"Quorral", members());
  return c;
}

}  // namespace qs::activex
