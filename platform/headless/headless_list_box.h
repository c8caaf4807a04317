// An in-memory list box: unsorted, single selection, with the platform list
// box's error numbers and selection rules.
#pragma once

#include <vector>

#include "platform/headless/headless_element.h"

namespace qs {

class HeadlessListBox final : public HeadlessElement<ListBox> {
 public:
  HeadlessListBox(HeadlessContainer& parent, std::u16string name, int tab_index)
      : HeadlessElement(parent, std::move(name), /*windowless=*/false, tab_index) {}

  // Inserting at or above the selected item keeps that item selected.
  void add_item(const std::u16string& text, std::optional<int> index = {}) override;
  // Removing the selected item leaves none selected; removing one above it
  // keeps the same item selected.
  void remove_item(int index) override;
  void clear() override;
  int list_count() const override { return static_cast<int>(items_.size()); }
  std::u16string list(int index) const override;
  void set_list(int index, const std::u16string& text) override;
  int32_t item_data(int index) const override;
  void set_item_data(int index, int32_t data) override;
  void add_items(std::vector<ListItem> items) override;
  std::vector<ListItem> items() const override { return items_; }
  int list_index() const override { return selected_; }
  void set_list_index(int index) override;
  // Nothing to repaint here: updates are only counted, for tests.
  void begin_update() override;
  void end_update() override;

  // How many updates are open now, and how many were ever opened.
  int open_updates() const { return open_updates_; }
  int updates_opened() const { return updates_opened_; }

  // While on, a height below one row (kRowHeight) becomes one row; any
  // other height is taken as given.
  void set_integral_height(bool on) override;
  OleColor back_color() const override { return back_color_; }
  void set_back_color(OleColor color) override { back_color_ = color; }
  OleColor fore_color() const override { return fore_color_; }
  void set_fore_color(OleColor color) override { fore_color_ = color; }
  void move(float left, std::optional<float> top = {}, std::optional<float> width = {},
            std::optional<float> height = {}) override;

  // A key typed while the list has the focus: KeyDown, then for a key with
  // a character KeyPress and the list's own search (the next item whose
  // text starts with that character, without regard to case, is selected),
  // then KeyUp.
  void type_key(int16_t key_code);

  static constexpr float kRowHeight = 225;

 private:
  using Item = ListItem;

  // Throws RuntimeError(error) unless index names an item.
  void check_index(int index, int32_t error) const;

  std::vector<Item> items_;
  int selected_ = -1;
  int open_updates_ = 0;
  int updates_opened_ = 0;
  bool integral_height_ = false;
  OleColor back_color_ = kColorWindowBackground;
  OleColor fore_color_ = kColorWindowText;
};

}  // namespace qs
