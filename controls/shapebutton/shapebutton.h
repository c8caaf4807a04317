// ShapeButton: a push or latching button whose window is cut to an outline
// (ellipse, circle, rounded rectangle or square, triangle, octagon, star).
// Its face is the surface's back colour, the picture element Image1 and the
// transparent caption Label1 over the middle. Every resize and every press
// and release runs the layout pass, which rebuilds the window region for the
// outline and the press state, places the caption and shows the press
// (shrunken outline, swapped picture or inverted colours).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/color.h"
#include "core/font.h"
#include "core/variant.h"
#include "library/control.h"
#include "platform/platform.h"

namespace qs {

// The outline. Any other value is kept and gives the window no region.
enum btnShape : int32_t {
  Elliptical = 0,
  Circular = 1,
  RoundRectangle = 2,
  RoundSquare = 3,
  Triangle = 4,
  Octagon = 5,
  Star = 6,
};

// Push button, or latching button (any value but 0 latches).
enum GStyle : int32_t {
  Button = 0,
  CheckBox = 1,
};

// How a press shows.
enum clckBehaviour : int32_t {
  Standard = 0,     // the outline shrinks by the bevel and the picture with it
  UseUpDown = 1,    // the outline shrinks and the picture swaps to PictureDown
  NoChange = 2,     // nothing changes during a press or release
  InvertColor = 3,  // the face inside the outline is inverted on every pass
};

enum alAlignment : int32_t {
  alLeft = 0,
  alRight = 1,
  alCenter = 2,
};

class ShapeButton : public Control {
 public:
  // Dispatch ids of the events, in the order of the event interface.
  static constexpr int kClickEvent = 1;
  static constexpr int kDblClickEvent = 2;
  static constexpr int kKeyDownEvent = 3;
  static constexpr int kKeyPressEvent = 4;
  static constexpr int kKeyUpEvent = 5;
  static constexpr int kMouseDownEvent = 6;
  static constexpr int kMouseMoveEvent = 7;
  static constexpr int kMouseUpEvent = 8;

  // PressState values.
  static constexpr int16_t kReleased = 0;
  static constexpr int16_t kPressed = 1;
  static constexpr int16_t kIdle = 3;

  // Creates Image1 (0, 0, 1125 x 900 twips, stretching) and above it Label1
  // ("Label1", centred, transparent, 90, 315, 1110 x 300 twips); the press
  // state is idle.
  ShapeButton(std::unique_ptr<Surface> surface, Host& host);
  ~ShapeButton() override;

  // Sets the own members to their defaults (both pictures empty picture
  // objects); leaves Label1, Image1 and the surface alone and lays nothing out.
  void InitProperties() override;
  // Reads every key in order; only PictureUp goes through its setter (one
  // notification); Value goes straight into the member; ends with one layout
  // pass, then Image1's tooltip.
  void ReadProperties(PropertyBag& bag) override;
  void WriteProperties(PropertyBag& bag) override;
  // The layout pass.
  void Resize() override;

  // The surface's back colour and enabled flag.
  OleColor BackColor() const;
  void set_BackColor(OleColor color);
  bool Enabled() const;
  void set_Enabled(bool enabled);
  // Label1's text colour, font (no font object fails with 380), text and
  // alignment (outside the 16-bit range fails with 6, outside 0..2 with 380).
  OleColor ForeColor() const;
  void set_ForeColor(OleColor color);
  FontRef Font() const;
  void set_Font(FontRef font);
  std::u16string Caption() const;
  void set_Caption(const std::u16string& caption);
  int32_t Alignment() const;
  void set_Alignment(int32_t alignment);

  // Runs a layout pass after the notification.
  int32_t ButtonShape() const;
  void set_ButtonShape(int32_t shape);
  int32_t Style() const;
  void set_Style(int32_t style);
  // Take effect at the next layout pass.
  int16_t BevelWidth() const;
  void set_BevelWidth(int16_t width);
  int32_t ClickBehaviour() const;
  void set_ClickBehaviour(int32_t behaviour);
  // PictureUp shows in Image1 at once; PictureDown at the next pressed pass
  // of UseUpDown.
  PictureRef PictureUp() const;
  void set_PictureUp(PictureRef picture);
  PictureRef PictureDown() const;
  void set_PictureDown(PictureRef picture);
  // Down (true) or up as last reported. Assigned outside press handling it
  // also sets the press state and the latch and lays the button out.
  bool Value() const;
  void set_Value(bool value);
  // Read from Image1; assignment sets Image1's and Label1's.
  std::u16string ToolTipText() const;
  void set_ToolTipText(const std::u16string& text);

  // The press machinery's state, for tests.
  int16_t PressState() const { return press_state_; }
  const Variant& ToggleLatch() const { return toggle_latch_; }
  bool MouseBusy() const { return mouse_busy_; }

  // The child elements, for drivers and tests.
  Label& Label1() { return *label1_; }
  Image& Image1() { return *image1_; }

 private:
  void layout();
  // What a child's press and release do; both leave MouseBusy false and the
  // press state idle, also when they fail.
  void press(MouseReport& report);
  void release(MouseReport& report);

  Label* label1_ = nullptr;
  Image* image1_ = nullptr;

  int32_t button_shape_ = Elliptical;
  int32_t style_ = Button;
  int16_t bevel_width_ = 0;
  PictureRef picture_up_;
  PictureRef picture_down_;
  int32_t click_behaviour_ = Standard;
  bool value_ = false;
  int16_t press_state_ = kIdle;
  Variant toggle_latch_;
  bool mouse_busy_ = false;
};

}  // namespace qs
