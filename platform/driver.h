// Acting as a user on a platform's elements, for tests.
//
// The headless driver acts on in-memory elements; the Win32 driver sends the
// window messages a real user's input produces. Input reaches an element only
// when it, its parent and every ancestor are enabled and visible, as the
// platform routes it.
#pragma once

#include <functional>

#include "platform/open_file_record.h"

#include "platform/platform.h"

namespace qs {

class Driver {
 public:
  virtual ~Driver() = default;

  // Presses and releases the left mouse button on an element.
  virtual void click(Element& element) = 0;
  // Double-clicks the centre of an element: press, release, press, release.
  virtual void double_click(Element& element) = 0;
  // Mouse input at a point given in an element's own coordinates (from its
  // top-left corner, in its container's scale for a windowless element, in
  // twips for one with a window). It goes where the platform routes that
  // point: to a windowed element's own window; for a windowless element, to
  // whatever lies topmost at that point of its container; while a press
  // holds the mouse, to the element that took the press. `button` is one
  // MouseButton; for a move, the buttons held. `shift` is ShiftKey flags.
  virtual void mouse_down(Element& element, float x, float y, int16_t button = kLeftButton,
                          int16_t shift = 0) = 0;
  virtual void mouse_up(Element& element, float x, float y, int16_t button = kLeftButton,
                        int16_t shift = 0) = 0;
  virtual void mouse_move(Element& element, float x, float y, int16_t buttons = 0,
                          int16_t shift = 0) = 0;
  // Presses and releases a key (a virtual key code) with the element's
  // window holding the focus (a windowless element's container); a key
  // with a character (digits, letters, space) types it in between.
  virtual void press_key(Element& element, int16_t key_code) = 0;
  // The same with the surface's own window holding the focus.
  virtual void press_key(Surface& surface, int16_t key_code) = 0;
  // Types text at the end of a text box, character by character, with the
  // box holding the focus; CR LF (or a lone CR or LF) is one press of Enter,
  // which starts a new line in a multi-line box and does nothing in a
  // single-line one.
  virtual void type_text(TextBox& box, const std::u16string& text) = 0;
  // Clicks the item at index (selecting it).
  virtual void click_item(ListBox& list, int index) = 0;
  // Double-clicks the item at index: a click, then a double-click.
  virtual void double_click_item(ListBox& list, int index) = 0;
  // The container gives the surface a new inner size in twips.
  virtual void resize(Surface& surface, float width, float height) = 0;
  // The topmost visible element at a point of a container (in its scale), or null.
  virtual Element* element_at(Container& container, float x, float y) = 0;
  // The script run when a form is shown modally; it acts on the form and
  // must hide it. Without a script a modal show fails the test.
  virtual void on_modal(std::function<void(Form&)> script) = 0;
  // The script run instead of the open-file dialog: it gets the request
  // record, writes its answer into lpstrFile in the dialog's format and
  // returns true to confirm, false to cancel. An empty script restores the
  // platform's own dialog where there is one.
  virtual void on_open_file(std::function<bool(OpenFileRecord&)> script) = 0;
  // The script run instead of the system message box: it gets the text,
  // caption and style and returns the answer. An empty script restores the
  // platform's own message box.
  virtual void on_message_box(
      std::function<int32_t(const std::u16string& text, const std::u16string& caption,
                            uint32_t style)>
          script) = 0;
  // Lets the platform deliver what is pending (messages, paints).
  virtual void pump() = 0;

  // Moves the screen cursor to a point (pixels).
  virtual void move_cursor(ScreenPoint point) = 0;
  // Lets ms milliseconds pass: the headless clock moves on and fires the
  // timers due on the way; on a real platform the thread takes messages
  // until that much time has passed.
  virtual void advance_time(int ms) = 0;

  // The notification area as the platform saw it. Every request this
  // thread's platform handed to the shell, in order, with its answer.
  struct TrayRequest {
    uint32_t message = 0;
    TrayRecord record{};
    bool accepted = false;
  };
  virtual const std::vector<TrayRequest>& tray_requests() const = 0;
  virtual void clear_tray_requests() = 0;
  // The icons placed through this platform and not yet deleted, as (window, uID).
  struct TrayIcon {
    uintptr_t window = 0;
    uint32_t id = 0;
    bool operator==(const TrayIcon&) const = default;
  };
  virtual std::vector<TrayIcon> tray_icons() const = 0;
  // The shell reports a mouse message (514 left button up ...) on an icon:
  // the icon's window gets the icon's callback message with the icon's id
  // and the mouse message. False when no such icon is placed.
  virtual bool tray_mouse(TrayIcon icon, uint32_t mouse_message) = 0;
  // The shell starts again: every icon is gone and every window hears the
  // restart broadcast.
  virtual void restart_shell() = 0;
  // Message windows alive and timers running (enabled with an interval),
  // so a test can prove none is left behind.
  virtual int live_message_windows() const = 0;
  virtual int running_timers() const = 0;
};

}  // namespace qs
