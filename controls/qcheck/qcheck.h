// qCheck: a check box whose small square (the box) shows its state as a
// colour, beside a caption. A click on the box or on the caption advances
// the value through two or three states.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/color.h"
#include "core/variant.h"
#include "library/control.h"
#include "platform/platform.h"

namespace qs {

// How many states a click cycles through. Any other value n is kept and
// cycles through 0 ... n + 1.
enum CHType : int32_t {
  TwoState = 0,
  ThreeState = 1,
};

// Which side the box is on: LEFT puts it at the left of the caption; any
// other value at the right.
enum alignlr : int32_t {
  LEFT = 0,
  Right = 1,
};

class qCheck : public Control {
 public:
  // Dispatch ids of the events, in the order of the event interface. The
  // key events exist but are never raised.
  static constexpr int kKeyDownEvent = 1;
  static constexpr int kKeyPressEvent = 2;
  static constexpr int kKeyUpEvent = 3;
  static constexpr int kMouseDownEvent = 4;
  static constexpr int kMouseMoveEvent = 5;
  static constexpr int kMouseUpEvent = 6;
  static constexpr int kClickEvent = 7;
  static constexpr int kDblClickEvent = 8;
  static constexpr int kChangeEvent = 9;

  // Colours a new instance starts with and the store defaults.
  static constexpr OleColor kClearColorDefault = 0;
  static constexpr OleColor kCheckColorDefault = 0x0000FF00u;
  static constexpr OleColor kIndeterminantColorDefault = 0x000080FFu;

  // Creates the box (black, 240 x 225 at 0, 45) and the caption "Label1".
  qCheck(std::unique_ptr<Surface> surface, Host& host);
  ~qCheck() override;

  // Sets the own fields to their defaults; the box and caption stay as made.
  void InitProperties() override;
  // Reads every key in order; BackColor, BackStyle and Value go through
  // their setters (notifying), and the restored Value is applied at the end,
  // recolouring the box and raising one Change. Alignment takes effect at
  // the next layout.
  void ReadProperties(PropertyBag& bag) override;
  void WriteProperties(PropertyBag& bag) override;
  // Places the box at one side, centred vertically, and the caption beside it
  // over the full height; a step that fails is skipped.
  void Resize() override;

  // Repaints the control at once.
  void Refresh();

  // Held by the control and the caption together; read from the control.
  OleColor BackColor() const;
  void set_BackColor(OleColor color);
  bool Enabled() const;
  void set_Enabled(bool enabled);
  // 0 transparent, 1 opaque; another value fails with 380.
  int16_t BackStyle() const;
  void set_BackStyle(int16_t style);
  // 0 none, 1 fixed single; another value fails with 380.
  int16_t BorderStyle() const;
  void set_BorderStyle(int16_t style);
  // The caption's text colour, font and text.
  OleColor ForeColor() const;
  void set_ForeColor(OleColor color);
  FontRef Font() const;
  // No font object fails with 380.
  void set_Font(FontRef font);
  std::u16string Caption() const;
  void set_Caption(const std::u16string& caption);

  // The box colours for value 0, value 1 and every other value; assigning
  // one does not recolour the box until Value is next assigned.
  OleColor ClearColor() const;
  void set_ClearColor(OleColor color);
  OleColor CheckColor() const;
  void set_CheckColor(OleColor color);
  OleColor IndeterminantColor() const;
  void set_IndeterminantColor(OleColor color);

  // The state, any value the runtime compares with numbers (an object or a
  // missing argument fails with 13 and changes nothing). Every assignment
  // recolours the box and raises Change, also of the value held already.
  Variant Value() const;
  void set_Value(const Variant& value);
  int32_t CheckType() const;
  void set_CheckType(int32_t type);
  // Lays the control out at once.
  int32_t Alignment() const;
  void set_Alignment(int32_t alignment);

  // The child elements, for drivers and tests.
  PictureBox& Picture1() { return *picture1_; }
  Label& Label1() { return *label1_; }

 private:
  void layout();
  // The click on the box or the caption: advances the value, then Click.
  void advance();

  PictureBox* picture1_ = nullptr;
  Label* label1_ = nullptr;

  OleColor clear_color_ = kClearColorDefault;
  OleColor check_color_ = kCheckColorDefault;
  OleColor indeterminant_color_ = kIndeterminantColorDefault;
  Variant value_ = int16_t{0};
  int32_t check_type_ = TwoState;
  int32_t alignment_ = LEFT;
};

}  // namespace qs
