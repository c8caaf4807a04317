// Quorral: a control, invisible at run time, that owns one icon in the
// notification area (the tray), turns mouse activity on that icon into
// Click and DoubleClick, and polls the screen cursor on a timer, raising
// MouseMove when it moved.
//
// Each instance has a hidden window of its own: the tray's callback
// messages, the shell's restart broadcast and the poll timer arrive there,
// whether or not its container shows the control.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "controls/quorral/tray_record.h"
#include "core/font.h"
#include "core/variant.h"
#include "library/control.h"
#include "platform/platform.h"

namespace qs {

class Quorral : public Control {
 public:
  // Dispatch ids of the events, in the order of the event interface.
  static constexpr int kMouseMoveEvent = 1;
  static constexpr int kDoubleClickEvent = 2;
  static constexpr int kClickEvent = 3;

  // The control's width and height after every resize, in twips.
  static constexpr float kSize = 552;

  // Mouse messages the shell reports on the icon, and what they raise.
  static constexpr int kLeftButtonUp = 514;      // Click(0)
  static constexpr int kLeftDoubleClick = 515;   // DoubleClick
  static constexpr int kRightButtonUp = 517;     // Click(1)
  // Surface scale modes the decoding knows.
  static constexpr int16_t kScaleTwips = 1;
  static constexpr int16_t kScalePixels = 3;

  // Creates Image1 at the top-left showing the built-in icon, the hidden
  // window and its poll timer (off).
  Quorral(std::unique_ptr<Surface> surface, Host& host);
  // Removes this instance's icon if it shows one, then stops the timer and
  // destroys the hidden window.
  ~Quorral() override;

  // Tip "", cursor 0, 0, sensitivity 0 (timer off), an empty message box
  // picture; the icon stays the built-in one.
  void InitProperties() override;
  // "SysToolTip", "SysIcon", "MouseX", "MouseY", "MouseSensitivity" (then
  // the timer is set, which fails with 380 in run mode for an interval
  // outside 0 to 65535), "MsgBoxPicture"; nothing is notified.
  void ReadProperties(PropertyBag& bag) override;
  void WriteProperties(PropertyBag& bag) override;
  // Snaps the control back to 552 x 552 twips.
  void Resize() override;

  // Places (true) or removes (false) the tray icon; the result is always
  // empty. True sends an add only when no icon is shown; false sends a
  // delete naming this instance's window only when one is.
  Variant Set_Icon(bool x);

  // The tip text; stored unchanged, taken as text when an icon is placed.
  Variant SysToolTip() const { return tool_tip_; }
  void set_SysToolTip(const Variant& tip);
  // The poll interval in milliseconds (0 no polling), a 32-bit integer.
  // Assigning converts (13 or 6 on failure, nothing stored), stores,
  // notifies, then sets the timer: in run mode an interval outside 0 to
  // 65535 fails with 380 after the value was stored.
  Variant MouseSensitivity() const { return Variant(sensitivity_); }
  void set_MouseSensitivity(const Variant& ms);
  // The tray icon, shown by Image1 at the top-left of the surface.
  PictureRef SysIcon() const;
  void set_SysIcon(PictureRef picture);
  // The cursor position last polled (screen pixels). Assignment is for run
  // mode only: in design mode it fails with 387 and stores nothing.
  Variant MouseX() const { return mouse_x_; }
  void set_MouseX(const Variant& x);
  Variant MouseY() const { return mouse_y_; }
  void set_MouseY(const Variant& y);
  // The message box's background picture; may be no object.
  PictureRef MsgBoxPicture() const { return msg_box_picture_; }
  void set_MsgBoxPicture(PictureRef picture);

  // The utility methods beside the tray (none depends on it): the text
  // cipher (error 5 where a code would exceed 255), the window float switch
  // (false for a bad handle, never an error), the sound player (the
  // platform's result as a 16-bit integer) and the library's message box
  // with this control's MsgBoxPicture (the answer code; no errors).
  Variant WinCrypt(const Variant& text, const Variant& key);
  bool FloatWindow(const Variant& window, bool floating);
  Variant PlaySound(const Variant& file_name);
  int16_t MsgBox(const std::u16string& prompt, const Variant& buttons, const Variant& top,
                 const Variant& left, const Variant& spike);

  // Whether this instance counts its icon as placed.
  bool IconShown() const { return placed_.has_value(); }

  // The mouse message number a tray notification carries in a mouse-move
  // x coordinate: x itself in pixels (scale mode 3), else x divided by the
  // twips per pixel; rounded to nearest, halves to even.
  static int tray_message_number(float x, int16_t scale_mode, float twips_per_pixel);
  // Raises what a mouse message on the icon means: Click(0) for 514,
  // DoubleClick for 515, Click(1) for 517, nothing for any other.
  void tray_mouse_message(int message);
  // A mouse move reported at x in the given scale, decoded as above.
  void tray_mouse_move(float x, int16_t scale_mode);
  // One tick of the cursor poll.
  void poll_cursor();

  // The hidden window and the poll timer, for drivers and tests.
  MessageWindow& window() { return *window_; }
  Timer& Timer1() { return *timer1_; }
  Image& Image1() { return *image1_; }

 private:
  // Sets the timer from MouseSensitivity: its value in run mode, else 0.
  void set_poll_timer();
  void on_window_message(uint32_t message, uintptr_t wparam, intptr_t lparam);
  void on_shell_restarted();
  void send_delete();

  Image* image1_ = nullptr;  // shows the tray icon (SysIcon)
  std::unique_ptr<MessageWindow> window_;
  Timer* timer1_ = nullptr;

  Variant tool_tip_ = Variant(u"");
  int32_t sensitivity_ = 0;
  Variant mouse_x_ = Variant(int16_t{0});
  Variant mouse_y_ = Variant(int16_t{0});
  PictureRef msg_box_picture_;
  // The record this instance placed its icon with, sent again when the
  // shell restarts; empty while it shows no icon.
  std::optional<TrayRecord> placed_;
};

}  // namespace qs
