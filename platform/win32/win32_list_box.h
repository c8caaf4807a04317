// A real LISTBOX child window: unsorted, single selection, notifying its
// container of selection changes and double-clicks. The list box cannot
// hold a NUL inside a text, so the exact texts are kept beside it and the
// window shows each up to its first NUL. The item data is kept beside it
// too (and set in the window), so reading the whole list sends no message
// per item.
#pragma once

#include <vector>

#include "platform/win32/win32_element.h"

namespace qs::win32 {

class Win32ListBox : public ElementImpl<ListBox> {
 public:
  Win32ListBox(ContainerWindow& owner, HWND parent, std::u16string name, int sequence);

  void add_item(const std::u16string& text, std::optional<int> index) override;
  void remove_item(int index) override;
  void clear() override;
  int list_count() const override;
  std::u16string list(int index) const override;
  void set_list(int index, const std::u16string& text) override;
  int32_t item_data(int index) const override;
  void set_item_data(int index, int32_t data) override;
  void add_items(std::vector<ListItem> items) override;
  std::vector<ListItem> items() const override { return items_; }
  int list_index() const override;
  void set_list_index(int index) override;
  // The first open update turns the window's redraw off; closing the last
  // turns it on and invalidates the whole list once.
  void begin_update() override;
  void end_update() override;

  ~Win32ListBox() override;

  // While on, a height is rounded down to whole rows of the list's font,
  // but never below one row (the window itself keeps LBS_NOINTEGRALHEIGHT,
  // so its rectangle and the bounds agree).
  void set_integral_height(bool on) override;
  OleColor back_color() const override { return back_color_; }
  void set_back_color(OleColor color) override;
  OleColor fore_color() const override { return fore_color_; }
  void set_fore_color(OleColor color) override;
  // Answers WM_CTLCOLORLISTBOX for the container: colours set on dc, the brush.
  HBRUSH paint_colors(HDC dc);
  void move(float left, std::optional<float> top, std::optional<float> width,
            std::optional<float> height) override;

  // The window reported a notification code (LBN_*) to its container.
  void notify(WORD code);

 private:
  void check_item(int index) const;
  // Keys and mouse go to the handlers first; the list box acts on what
  // they leave (a key code or character of 0 is swallowed).
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  WNDPROC list_proc_ = nullptr;
  bool integral_height_ = false;
  OleColor back_color_ = kColorWindowBackground;
  OleColor fore_color_ = kColorWindowText;
  HBRUSH brush_ = nullptr;

  std::vector<ListItem> items_;
  int open_updates_ = 0;
  // Whether the window was hidden when the first update opened.
  bool hidden_at_update_ = false;
};

}  // namespace qs::win32
