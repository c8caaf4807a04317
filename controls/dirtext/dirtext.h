// Dirtext: a one-row path list (Text1) with a square browse button
// (Command1, "...") at its right edge. The button, or ShowDlg, opens the
// platform's open-file dialog and lists the chosen path or paths.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/color.h"
#include "core/variant.h"
#include "library/control.h"
#include "platform/platform.h"

namespace qs {

// Stored and saved; every value shows the same open dialog.
enum dlgTypes : int32_t {
  dtOpenFile = 0,
  dtSaveFile = 1,
  dtDirectory = 2,
};

class Dirtext : public Control {
 public:
  // Dispatch ids of the events, in the order of the event interface; 1 to 8
  // are forwarded from Text1.
  static constexpr int kClickEvent = 1;
  static constexpr int kDblClickEvent = 2;
  static constexpr int kKeyDownEvent = 3;
  static constexpr int kKeyPressEvent = 4;
  static constexpr int kKeyUpEvent = 5;
  static constexpr int kMouseDownEvent = 6;
  static constexpr int kMouseMoveEvent = 7;
  static constexpr int kMouseUpEvent = 8;
  static constexpr int kFileSelectedEvent = 9;

  // The result buffer the dialog gets: 256 characters for one file; for a
  // multiple selection the dialog's largest, so a long one is not lost.
  static constexpr uint32_t kSingleFileMax = 256;
  static constexpr uint32_t kMultiFileMax = 32768;
  // The tallest the square button grows.
  static constexpr float kButtonMaxHeight = 285;

  // Creates Text1 (855 x 300 at 0, 0, sizing itself to whole rows) and
  // Command1 ("...", 330 x 300 at 825, 0, first in the tab order).
  Dirtext(std::unique_ptr<Surface> surface, Host& host);
  ~Dirtext() override;

  // Sets the own fields to their defaults; the children keep their state.
  void InitProperties() override;
  // Reads every key in order. A non-empty "List0" becomes entry 0 (added
  // when the list has none), so a saved path comes back; a "ListIndex" that
  // names no restored entry (the default 0 on an empty list, or a selection
  // past the one saved entry) selects nothing; "Text" selects the entry of
  // that text if there is one.
  void ReadProperties(PropertyBag& bag) override;
  void WriteProperties(PropertyBag& bag) override;
  // Gives Text1 the control's height, grows the control to the height Text1
  // took if that is more, and places the square button at the right edge;
  // a step that fails is skipped.
  void Resize() override;

  // Runs the browse dialog; returns an empty value. No error reaches the caller.
  Variant ShowDlg();

  OleColor BackColor() const;
  void set_BackColor(OleColor color);
  OleColor ForeColor() const;
  void set_ForeColor(OleColor color);
  bool Enabled() const;
  void set_Enabled(bool enabled);
  FontRef Font() const;
  // No font object fails with 380.
  void set_Font(FontRef font);
  // 0 none, 1 fixed single; another value fails with 380.
  int16_t BorderStyle() const;
  void set_BorderStyle(int16_t style);
  // Description/pattern pairs separated by "|".
  std::u16string Filter() const;
  void set_Filter(const std::u16string& filter);
  // The dialog's title: any value with a text form (an object fails with 13).
  Variant Caption() const;
  void set_Caption(const Variant& caption);
  bool MultiSelect() const;
  void set_MultiSelect(bool multi);
  // Kept as a 16-bit integer (a value outside fails with 6); announced as "DlgType".
  int32_t dlgType() const;
  void set_dlgType(int32_t type);

  // Text1's entries: a bad index fails with 381.
  std::u16string List(int16_t index) const;
  void set_List(int16_t index, const std::u16string& text);
  int16_t ListCount() const;
  // -1 when none; outside -1 .. ListCount - 1 fails with 380.
  int16_t ListIndex() const;
  void set_ListIndex(int16_t index);
  // The selected entry's text ("" when none); assigning selects the first
  // entry of that text (without regard to case) and leaves the selection
  // alone when there is none.
  std::u16string Text() const;
  void set_Text(const std::u16string& text);
  // Appends, or inserts at Index (outside 0 .. ListCount fails with 5).
  void AddItem(const std::u16string& item, const Variant& index = Variant::missing());
  void Clear();

  // The child elements, for drivers and tests.
  ListBox& Text1() { return *text1_; }
  CommandButton& Command1() { return *command1_; }

 private:
  void layout();
  void browse();
  // Runs the dialog; the paths chosen, or nothing on cancel or failure.
  std::optional<std::vector<std::u16string>> ask_paths();
  void select_text(const std::u16string& text);

  ListBox* text1_ = nullptr;
  CommandButton* command1_ = nullptr;

  std::u16string filter_;
  Variant caption_;
  bool multi_select_ = false;
  int16_t dlg_type_ = dtOpenFile;
  int layout_depth_ = 0;
};

}  // namespace qs
