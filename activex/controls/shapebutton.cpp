// ShapeButton's members: one row per member of _ShapeButton.
#include "QuorralSet_dual.h"
#include "controls/shapebutton/shapebutton.h"
#include "server_class.h"

namespace qs::activex {
namespace {

const MemberTable& members() {
  using C = ShapeButton;
  static const MemberTable table{
      {
          property(u"BackColor", &C::BackColor, &C::set_BackColor),
          property(u"ForeColor", &C::ForeColor, &C::set_ForeColor),
          property(u"Enabled", &C::Enabled, &C::set_Enabled),
          property(u"Font", &C::Font, &C::set_Font),
          property(u"ButtonShape", &C::ButtonShape, &C::set_ButtonShape),
          property(u"Style", &C::Style, &C::set_Style),
          property(u"BevelWidth", &C::BevelWidth, &C::set_BevelWidth),
          property(u"PictureUp", &C::PictureUp, &C::set_PictureUp),
          property(u"PictureDown", &C::PictureDown, &C::set_PictureDown),
          property(u"ClickBehaviour", &C::ClickBehaviour, &C::set_ClickBehaviour),
          property(u"Caption", &C::Caption, &C::set_Caption),
          property(u"Alignment", &C::Alignment, &C::set_Alignment),
          property(u"Value", &C::Value, &C::set_Value),
          property(u"ToolTipText", &C::ToolTipText, &C::set_ToolTipText),
          method(u"ShowAboutBox", &C::ShowAboutBox),
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
      },
      {
          {u"btnShape",
           {{u"Elliptical", Elliptical},
            {u"Circular", Circular},
            {u"RoundRectangle", RoundRectangle},
            {u"RoundSquare", RoundSquare},
            {u"Triangle", Triangle},
            {u"Octagon", Octagon},
            {u"Star", Star}}},
          {u"GStyle", {{u"Button", Button}, {u"CheckBox", CheckBox}}},
          {u"clckBehaviour",
           {{u"Standard", Standard},
            {u"UseUpDown", UseUpDown},
            {u"NoChange", NoChange},
            {u"InvertColor", InvertColor}}},
          {u"alAlignment", {{u"alLeft", alLeft}, {u"alRight", alRight}, {u"alCenter", alCenter}}},
      },
  };
  return table;
}

}  // namespace

const ServerClass& server_class_shapebutton() {
  static const ServerClass c =
      control_class<Dual_ShapeButton, ShapeButton>(u"ShapeButton", members());
  return c;
}

}  // namespace qs::activex
