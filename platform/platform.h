// What the controls stand on: their surface, child elements and forms.
//
// Positions and sizes are in their container's scale (single precision):
// twips unless the container is switched to pixels (Container::scale_mode). Each element behaves
// as the platform's own: a list box refuses a bad index with the runtime's
// error, a move with a negative width or height fails with 380 and leaves
// the element where it was.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/color.h"
#include "core/font.h"
#include "platform/region.h"

namespace qs {

class Platform;
struct OpenFileRecord;

struct Bounds {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  bool operator==(const Bounds&) const = default;
};

// A child element of a surface or form.
class Element {
 public:
  virtual ~Element() = default;

  virtual const std::u16string& name() const = 0;
  // Windowless elements (labels, images) lie under every window of their parent.
  virtual bool windowless() const = 0;

  virtual Bounds bounds() const = 0;
  // Moves the element; an omitted value keeps the current one. A negative
  // width or height fails with 380 and changes nothing.
  virtual void move(float left, std::optional<float> top = {},
                    std::optional<float> width = {},
                    std::optional<float> height = {}) = 0;

  virtual bool visible() const = 0;
  virtual void set_visible(bool visible) = 0;
  virtual bool enabled() const = 0;
  virtual void set_enabled(bool enabled) = 0;
  virtual int tab_index() const = 0;
  virtual void set_tab_index(int index) = 0;
  virtual FontRef font() const = 0;
  virtual void set_font(FontRef font) = 0;
};

// A list item with its item data, as the whole-list members take and give them.
struct ListItem {
  std::u16string text;
  int32_t data = 0;
  bool operator==(const ListItem&) const = default;
};

// Mouse buttons and shift keys as the runtime numbers them in its mouse events.
enum MouseButton : int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftKey : int16_t { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

// One mouse notification: the button that went down or up (for a move, the
// buttons held), the shift keys held, and the point in the reporting
// element's own coordinates (from its top-left corner; in its container's
// scale for a windowless element, in twips for one with a window). Handlers take
// it by reference, as the runtime's mouse events take their arguments.
struct MouseReport {
  int16_t button = 0;
  int16_t shift = 0;
  float x = 0;
  float y = 0;
};

// An unsorted, single-selection list box. Indexes count from 0; the list
// index is -1 when nothing is selected.
//
// Changes of many items belong inside an Update: while one is open the list
// box neither repaints nor recomputes its scroll bar, and closing the last
// one repaints it once, so a change of n items costs one repaint, not n.
class ListBox : public Element {
 public:
  // Holds a list box's repaint for its lifetime; updates nest.
  class Update {
   public:
    explicit Update(ListBox& list) : list_(list) { list_.begin_update(); }
    ~Update() { list_.end_update(); }
    Update(const Update&) = delete;
    Update& operator=(const Update&) = delete;

   private:
    ListBox& list_;
  };

  // Adds an item (item data 0): appended when index is omitted, else
  // inserted there. An index outside 0..count fails with 5.
  virtual void add_item(const std::u16string& text, std::optional<int> index = {}) = 0;
  // Removes an item; a bad index fails with 5.
  virtual void remove_item(int index) = 0;
  virtual void clear() = 0;
  virtual int list_count() const = 0;
  // Item text; a bad index fails with 381.
  virtual std::u16string list(int index) const = 0;
  virtual void set_list(int index, const std::u16string& text) = 0;
  // Item data; a bad index fails with 381.
  virtual int32_t item_data(int index) const = 0;
  virtual void set_item_data(int index, int32_t data) = 0;
  // Appends the items in order, each with its item data, as one change
  // (inside an Update of its own, with storage for all of them reserved
  // first). An item the list box cannot take fails with 7; the items before
  // it stay.
  virtual void add_items(std::vector<ListItem> items) = 0;
  // Every item with its item data, in order.
  virtual std::vector<ListItem> items() const = 0;
  virtual int list_index() const = 0;
  // Selects an item (or none with -1) and reports a click when an item is
  // selected, as the user's selection does. Outside -1..count-1 fails with 380.
  virtual void set_list_index(int index) = 0;

  // Open and close an update; use Update rather than calling these.
  virtual void begin_update() = 0;
  virtual void end_update() = 0;

  // The user (or set_list_index) selected an item.
  std::function<void()> on_click;
  // The user double-clicked an item (reported after its click).
  std::function<void()> on_dbl_click;

  // Background and text colours (window background and window text at first).
  virtual OleColor back_color() const = 0;
  virtual void set_back_color(OleColor color) = 0;
  virtual OleColor fore_color() const = 0;
  virtual void set_fore_color(OleColor color) = 0;

  // Whether the list sizes itself to whole rows (off at first). While on, a
  // height given to move() may be changed: never below one row, and on some
  // platforms rounded down to whole rows; bounds() tells the height taken.
  virtual void set_integral_height(bool on) = 0;

  // Keys while the list has the focus, and the mouse over it (coordinates
  // relative to the list). The arguments are by reference: the list acts on
  // what a handler leaves there, and a key code or character set to 0 is not
  // acted on at all.
  std::function<void(int16_t& key_code, int16_t& shift)> on_key_down;
  std::function<void(int16_t& key_ascii)> on_key_press;
  std::function<void(int16_t& key_code, int16_t& shift)> on_key_up;
  std::function<void(MouseReport&)> on_mouse_down;
  std::function<void(MouseReport&)> on_mouse_move;
  std::function<void(MouseReport&)> on_mouse_up;
};

class CommandButton : public Element {
 public:
  virtual std::u16string caption() const = 0;
  virtual void set_caption(const std::u16string& caption) = 0;

  std::function<void()> on_click;
};

// A text box: one line, or several with Enter starting a new line (a line
// break in its text is CR LF).
enum class ScrollBars : int16_t { kNone = 0, kHorizontal = 1, kVertical = 2, kBoth = 3 };

struct TextBoxStyle {
  bool multi_line = false;
  ScrollBars scroll_bars = ScrollBars::kNone;
};

class TextBox : public Element {
 public:
  virtual TextBoxStyle style() const = 0;
  virtual std::u16string text() const = 0;
  // Replaces the whole text; reports a change only when the text differs.
  virtual void set_text(const std::u16string& text) = 0;

  // The text changed, by the user's typing or by set_text.
  std::function<void()> on_change;
};

enum class Alignment : int16_t { kLeft = 0, kRight = 1, kCenter = 2 };

// What an element that takes the mouse reports. A press captures the mouse
// for the element until that button is released, so the move and release
// notifications of a press go to it wherever the mouse is. A click is a
// press and release of the left button over the element, reported after
// the release; the second press of a double click reports a double click
// instead of a press, and its release reports no click.
class MouseSource {
 public:
  virtual ~MouseSource() = default;

  std::function<void(MouseReport&)> on_mouse_down;
  std::function<void(MouseReport&)> on_mouse_move;
  std::function<void(MouseReport&)> on_mouse_up;
  std::function<void()> on_click;
  std::function<void()> on_dbl_click;
};

// A picture box: a plain child window that fills itself with its back
// colour (button face at first) and takes the mouse.
class PictureBox : public Element, public MouseSource {
 public:
  virtual OleColor back_color() const = 0;
  virtual void set_back_color(OleColor color) = 0;
};

// A windowless text label. It takes the mouse anywhere inside its rectangle
// (transparent parts included) where no later label and no window lies over
// it; a disabled label passes the mouse to its container.
class Label : public Element, public MouseSource {
 public:
  virtual std::u16string caption() const = 0;
  virtual void set_caption(const std::u16string& caption) = 0;
  virtual OleColor back_color() const = 0;
  virtual void set_back_color(OleColor color) = 0;
  virtual OleColor fore_color() const = 0;
  virtual void set_fore_color(OleColor color) = 0;
  // 0 transparent, 1 opaque (the default); anything else fails with 380.
  virtual int16_t back_style() const = 0;
  virtual void set_back_style(int16_t style) = 0;
  virtual Alignment alignment() const = 0;
  virtual void set_alignment(Alignment alignment) = 0;
  // The text shown when the mouse rests over the label ("" for none).
  virtual std::u16string tool_tip_text() const = 0;
  virtual void set_tool_tip_text(const std::u16string& text) = 0;
};

// A windowless picture element. It lies among the labels by creation order
// (a later label or image is above it) and below every window, and takes
// the mouse anywhere inside its rectangle where nothing lies over it, with
// or without a picture. Without stretch the picture is drawn at its own
// size from the top-left corner; with stretch it fills the element.
class Image : public Element, public MouseSource {
 public:
  // The picture shown; null or an empty picture shows nothing.
  virtual PictureRef picture() const = 0;
  virtual void set_picture(PictureRef picture) = 0;
  virtual bool stretch() const = 0;
  virtual void set_stretch(bool stretch) = 0;
  // The text shown when the mouse rests over the image ("" for none).
  virtual std::u16string tool_tip_text() const = 0;
  virtual void set_tool_tip_text(const std::u16string& text) = 0;
};

// What surfaces and forms share: they hold child elements and have an
// inner (scale) area with colours and a font.
class Container {
 public:
  virtual ~Container() = default;

  virtual Platform& platform() = 0;

  // Creates a child element, owned by the container for its whole life. Elements
  // created later are above earlier ones among windows; windowless elements
  // are always below windows.
  virtual ListBox& create_list_box(const std::u16string& name) = 0;
  virtual CommandButton& create_command_button(const std::u16string& name) = 0;
  virtual Label& create_label(const std::u16string& name) = 0;
  virtual PictureBox& create_picture_box(const std::u16string& name) = 0;
  virtual Image& create_image(const std::u16string& name) = 0;
  // Text boxes take the focus with the Tab key in tab-index order.
  virtual TextBox& create_text_box(const std::u16string& name, TextBoxStyle style = {}) = 0;
  // The child element of that name, or null. Every platform implements this
  // (headless and Win32 alike): tests and forms look elements up by name.
  virtual Element* find(const std::u16string& name) = 0;

  // The unit of the inner size, of the children's places and moves and of
  // the mouse reports of windowless children: 1 twips (the default) or 3
  // pixels; anything else fails with 380. Places already given read back in
  // the new unit.
  virtual int16_t scale_mode() const = 0;
  virtual void set_scale_mode(int16_t mode) = 0;
  // Inner width and height in the container's scale.
  virtual float scale_width() const = 0;
  virtual float scale_height() const = 0;

  virtual OleColor back_color() const = 0;
  virtual void set_back_color(OleColor color) = 0;
  virtual OleColor fore_color() const = 0;
  virtual void set_fore_color(OleColor color) = 0;
  virtual FontRef font() const = 0;
  virtual void set_font(FontRef font) = 0;

  // Repaints the container and its elements at once.
  virtual void refresh() = 0;

  // Region work on the container's own window, in pixels of its client
  // area (SetWindowRgn, InvertRgn, FillRgn).
  // Cuts the window to the region and takes the region over: the caller no
  // longer owns it, and the window releases the one it held before. 0 gives
  // the window back its full rectangle. Input outside the region reaches
  // nothing in the container.
  virtual void set_window_rgn(RegionHandle region, bool redraw) = 0;
  // Inverts the client pixels inside the region; false for an unknown region.
  virtual bool invert_rgn(RegionHandle region) = 0;
  // Paints the region with a brush (a stock brush); false for an unknown
  // region or brush.
  virtual bool fill_rgn(RegionHandle region, GdiObject brush) = 0;
};

// The control's own surface, sized by its container.
class Surface : public Container {
 public:
  virtual bool enabled() const = 0;
  virtual void set_enabled(bool enabled) = 0;
  // 0 transparent, 1 opaque; anything else fails with 380.
  virtual int16_t back_style() const = 0;
  virtual void set_back_style(int16_t style) = 0;
  // 0 none, 1 fixed single; anything else fails with 380.
  virtual int16_t border_style() const = 0;
  virtual void set_border_style(int16_t style) = 0;

  // Asks the container for a new height (twips), the width kept; a change
  // reports on_resize before this returns.
  virtual void set_height(float height) = 0;
  // The surface's own window, as the platform's dialogs take an owner.
  virtual uintptr_t window_handle() const = 0;

  // The container changed the surface's size.
  std::function<void()> on_resize;
  // Keys while the surface's own window holds the focus (none of its child
  // windows does), with their arguments by reference as the runtime's key
  // events take them.
  std::function<void(int16_t& key_code, int16_t& shift)> on_key_down;
  std::function<void(int16_t& key_ascii)> on_key_press;
  std::function<void(int16_t& key_code, int16_t& shift)> on_key_up;
};

// A top-level form (about box, message box).
class Form : public Container {
 public:
  virtual std::u16string caption() const = 0;
  virtual void set_caption(const std::u16string& caption) = 0;
  // Sets the inner size in twips.
  virtual void set_client_size(float width, float height) = 0;
  // Shows the form modally without an owner; returns once it is hidden.
  virtual void show_modal() = 0;
  virtual void hide() = 0;
  virtual bool is_shown() const = 0;
};

// The platform: makes surfaces and forms.
class Platform {
 public:
  virtual ~Platform() = default;
  virtual std::unique_ptr<Surface> create_surface() = 0;
  // Creates (loads) a form; destroying it unloads it.
  virtual std::unique_ptr<Form> create_form(const std::u16string& name) = 0;

  // The module instance the library runs in, as the platform's records take it.
  virtual uintptr_t module_handle() const = 0;
  // Text in the system's ANSI code page and back; a character the code page
  // cannot carry becomes "?". Embedded NULs pass through.
  virtual std::string to_ansi(std::u16string_view text) const = 0;
  virtual std::u16string from_ansi(std::string_view text) const = 0;
  // Runs the modal open-file dialog the record describes; true when the user
  // confirmed a selection (written to lpstrFile), false on cancel or failure.
  virtual bool get_open_file_name(OpenFileRecord& record) = 0;

  // The GDI region calls.
  virtual Regions& regions() = 0;

  // Loads a picture file (BMP or ICO) as the runtime's picture loader does.
  // An empty path gives an empty picture object (type none, not nothing);
  // a path naming no readable file fails with RuntimeError 53, a file that
  // is not a picture with 481.
  virtual PictureRef load_picture(const std::u16string& path) = 0;
  // Makes a picture from the data a store kept for it (Picture::data): the
  // picture the same file loads as. Empty data gives an empty picture
  // object; data that is not a picture fails with 481.
  virtual PictureRef picture_from_data(std::span<const uint8_t> data) = 0;
};

}  // namespace qs
