// AddRemove: two list boxes with four transfer buttons between them and a
// title above each. Items move between the lists; both lists with their item
// data persist as list texts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "library/control.h"
#include "core/variant.h"
#include "platform/platform.h"

namespace qs {

enum qrOrientation : int32_t {
  qrLeftToRight = 0,
  qrRightToLeft = 1,
};

class AddRemove : public Control {
 public:
  // Dispatch id of the Change event.
  static constexpr int kChangeEvent = 1;

  // Creates the child elements on the surface; lists empty, buttons disabled.
  AddRemove(std::unique_ptr<Surface> surface, Host& host);
  ~AddRemove() override;

  void InitProperties() override;
  // A stored Orientation must convert to a 32-bit integer (13 for a
  // non-numeric value, 6 for NaN, infinities and numbers out of range); a
  // stored list text must not be a NaN or infinite number (380).
  void ReadProperties(PropertyBag& bag) override;
  void WriteProperties(PropertyBag& bag) override;
  void Resize() override;

  // Rebuilds both list boxes from the four list texts, then lays out.
  void Load_Lists();
  // Captures both list boxes into the four list texts (notifying each).
  void Save_Lists();
  // Does nothing.
  void Refresh() {}

  OleColor BackColor() const;
  void set_BackColor(OleColor color);
  OleColor ForeColor() const;
  void set_ForeColor(OleColor color);
  bool Enabled() const;
  void set_Enabled(bool enabled);
  FontRef Font() const;
  void set_Font(FontRef font);
  int16_t BackStyle() const;
  void set_BackStyle(int16_t style);
  int16_t BorderStyle() const;
  void set_BorderStyle(int16_t style);

  int32_t Orientation() const;
  void set_Orientation(int32_t orientation);
  bool ShowTitles() const;
  void set_ShowTitles(bool show);
  std::u16string LTitle() const;
  void set_LTitle(const std::u16string& title);
  std::u16string RTitle() const;
  void set_RTitle(const std::u16string& title);

  std::u16string Llist(int16_t index) const;
  void set_Llist(int16_t index, const std::u16string& text);
  int32_t LItemData(int16_t index) const;
  void set_LItemData(int16_t index, int32_t data);
  std::u16string RList(int16_t index) const;
  void set_RList(int16_t index, const std::u16string& text);
  int32_t RItemData(int16_t index) const;
  void set_RItemData(int16_t index, int32_t data);
  // Index may be missing (append) or a number (insert there).
  void LAddItem(const std::u16string& item, const Variant& index = Variant::missing());
  void LRemoveItem(int16_t index);
  void RAddItem(const std::u16string& item, const Variant& index = Variant::missing());
  void RRemoveItem(int16_t index);

  // The four list texts hold any value; a NaN or infinite number fails with
  // 380 and leaves the text as it was.
  Variant LeftList() const;
  void set_LeftList(const Variant& text);
  Variant RightList() const;
  void set_RightList(const Variant& text);
  Variant LeftListItemData() const;
  void set_LeftListItemData(const Variant& text);
  Variant RightListItemData() const;
  void set_RightListItemData(const Variant& text);

  // The child elements, for drivers and tests.
  ListBox& List1() { return *list1_; }
  ListBox& List2() { return *list2_; }
  CommandButton& cmdAdd() { return *cmd_add_; }
  CommandButton& cmdAddAll() { return *cmd_add_all_; }
  CommandButton& cmdRemove() { return *cmd_remove_; }
  CommandButton& cmdRemoveAll() { return *cmd_remove_all_; }
  Label& LeftCap() { return *left_cap_; }
  Label& RightCap() { return *right_cap_; }

 private:
  // Places lists, buttons and titles over the surface's inner size.
  void layout();
  // Transfer commands and list events.
  void List1_Click();
  void List2_Click();
  void cmdAdd_Click();
  void cmdAddAll_Click();
  void cmdRemove_Click();
  void cmdRemoveAll_Click();
  void List1_DblClick();
  void List2_DblClick();

  ListBox* list2_ = nullptr;
  CommandButton* cmd_remove_all_ = nullptr;
  CommandButton* cmd_remove_ = nullptr;
  CommandButton* cmd_add_all_ = nullptr;
  CommandButton* cmd_add_ = nullptr;
  ListBox* list1_ = nullptr;
  Label* right_cap_ = nullptr;
  Label* left_cap_ = nullptr;

  Variant orientation_ = int32_t{qrLeftToRight};
  bool show_titles_ = true;
  Variant left_list_;
  Variant right_list_;
  Variant left_item_data_;
  Variant right_item_data_;
};

}  // namespace qs
