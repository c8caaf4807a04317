#include "controls/addremove/addremove.h"

#include <cmath>
#include <utility>
#include <vector>

#include "controls/addremove/list_text.h"
#include "core/color.h"
#include "core/runtime_error.h"
#include "core/skip_on_failure.h"
#include "library/stored_value.h"

namespace qs {

namespace {

constexpr float kButtonSize = 330;
constexpr float kTitleHeight = 225;
// Space between the button column and each list.
constexpr float kButtonMargin = 100;

const std::u16string kLeftListDefault = u"LeftList";
const std::u16string kRightListDefault = u"Rightlist";
const std::u16string kLeftTitleDefault = u"List1";
const std::u16string kRightTitleDefault = u"List2";

Variant item_data_default() { return Variant(int16_t{0}); }
// An orientation is kept only if the getter can give it back as a 32-bit
// integer: a non-numeric value (a text that is no number, Null, an object, a
// missing argument) fails with 13, and NaN, an infinity or a number outside
// the 32-bit range with 6, as the conversion to a Long does.
const Variant& orientation_of(const Variant& v) {
  if (v.is_null()) throw RuntimeError(kErrTypeMismatch);
  v.to_long();
  return v;
}

// A list text is kept as given, except a NaN or infinite number: it has no
// decimal form to load as a list and no value a getter or a save can hand
// back, so it fails with 380.
const Variant& list_text_value(const Variant& v) {
  if (v.is_number() && !std::isfinite(v.number_value()))
    throw RuntimeError(kErrInvalidPropertyValue);
  return v;
}

// Calls f with the list text a stored value stands for, without copying a
// text value.
template <class F>
void with_list_text(const Variant& value, F&& f) {
  if (value.is_string()) {
    f(std::u16string_view(value.string_value()));
  } else {
    std::u16string text = list_text_of(value);
    f(std::u16string_view(text));
  }
}

// Appends the items of a list text to a list, with the item data the
// item-data text gives them (entry i for list item i; entries past the last
// item and entries that are no 32-bit number are skipped), in one batch.
void load_list(SkipOnFailure& s, ListBox& list, const Variant& items, const Variant& data) {
  std::vector<ListItem> batch;
  s.step([&] {
    with_list_text(items, [&](std::u16string_view text) {
      for_each_list_entry(text, [&](std::u16string_view entry) {
        batch.push_back(ListItem{std::u16string(entry), 0});
      });
    });
  });
  // Items already in the list (none unless clearing it failed) come first.
  const int before = list.list_count();
  s.step([&] {
    with_list_text(data, [&](std::u16string_view text) {
      const int count = before + static_cast<int>(batch.size());
      int index = 0;
      for_each_list_entry(text, [&](std::u16string_view entry) {
        if (index < count) {
          if (std::optional<int32_t> value = item_data_of(entry)) {
            if (index >= before)
              batch[static_cast<size_t>(index - before)].data = *value;
            else
              s.step([&] { list.set_item_data(index, *value); });
          }
        }
        ++index;
      });
    });
  });
  s.step([&] { list.add_items(std::move(batch)); });
}

// The items and the item-data list texts of a list.
std::pair<std::u16string, std::u16string> list_texts(const ListBox& list) {
  ListTextWriter items;
  ListTextWriter data;
  for (const ListItem& item : list.items()) {
    items.add(item.text);
    data.add(item.data);
  }
  return {std::move(items.text()), std::move(data.text())};
}

// Sets an element's height, keeping its place and width.
void set_height(Element& e, float height) {
  Bounds b = e.bounds();
  e.move(b.left, b.top, b.width, height);
}

void set_top(Element& e, float top) { e.move(e.bounds().left, top); }

void set_left(Element& e, float left) { e.move(left, e.bounds().top); }

}  // namespace

AddRemove::AddRemove(std::unique_ptr<Surface> s, Host& host)
    : Control(std::move(s), host),
      left_list_(kLeftListDefault),
      right_list_(kRightListDefault),
      left_item_data_(item_data_default()),
      right_item_data_(item_data_default()) {
  Surface& sf = surface();
  list2_ = &sf.create_list_box(u"List2");
  cmd_remove_all_ = &sf.create_command_button(u"cmdRemoveAll");
  cmd_remove_ = &sf.create_command_button(u"cmdRemove");
  cmd_add_all_ = &sf.create_command_button(u"cmdAddAll");
  cmd_add_ = &sf.create_command_button(u"cmdAdd");
  list1_ = &sf.create_list_box(u"List1");
  right_cap_ = &sf.create_label(u"RightCap");
  left_cap_ = &sf.create_label(u"LeftCap");

  cmd_remove_all_->set_caption(u">>");
  cmd_remove_->set_caption(u">");
  cmd_add_all_->set_caption(u"<<");
  cmd_add_->set_caption(u"<");
  for (CommandButton* b : {cmd_remove_all_, cmd_remove_, cmd_add_all_, cmd_add_}) {
    b->set_enabled(false);
    b->move(0, 0, kButtonSize, kButtonSize);
  }
  right_cap_->set_caption(kRightTitleDefault);
  left_cap_->set_caption(kLeftTitleDefault);
  for (Label* l : {right_cap_, left_cap_}) {
    l->set_back_color(kColorButtonFace);
    l->set_fore_color(kColorButtonText);
    l->set_visible(true);
    set_height(*l, kTitleHeight);
  }

  // Ascending order, so a platform that renumbers on assignment ends the same.
  list1_->set_tab_index(0);
  cmd_add_->set_tab_index(1);
  cmd_add_all_->set_tab_index(2);
  cmd_remove_->set_tab_index(3);
  cmd_remove_all_->set_tab_index(4);
  list2_->set_tab_index(5);
  left_cap_->set_tab_index(6);
  right_cap_->set_tab_index(7);

  list1_->on_click = [this] { List1_Click(); };
  list2_->on_click = [this] { List2_Click(); };
  list1_->on_dbl_click = [this] { List1_DblClick(); };
  list2_->on_dbl_click = [this] { List2_DblClick(); };
  cmd_add_->on_click = [this] { cmdAdd_Click(); };
  cmd_add_all_->on_click = [this] { cmdAddAll_Click(); };
  cmd_remove_->on_click = [this] { cmdRemove_Click(); };
  cmd_remove_all_->on_click = [this] { cmdRemoveAll_Click(); };
}

AddRemove::~AddRemove() {
  for (ListBox* l : {list1_, list2_}) {
    l->on_click = nullptr;
    l->on_dbl_click = nullptr;
  }
  for (CommandButton* b : {cmd_remove_all_, cmd_remove_, cmd_add_all_, cmd_add_}) b->on_click = nullptr;
}

// ---- Lifecycle -------------------------------------------------------------

void AddRemove::InitProperties() {
  surface().set_font(ambient_or_default_font(host()));
  orientation_ = Variant(int32_t{qrLeftToRight});
  show_titles_ = true;
  left_list_ = Variant(kLeftListDefault);
  right_list_ = Variant(kRightListDefault);
  left_item_data_ = item_data_default();
  right_item_data_ = item_data_default();
}

void AddRemove::ReadProperties(PropertyBag& bag) {
  Surface& sf = surface();
  sf.set_back_color(color_of(bag.read(u"BackColor", color_value(kColorButtonFace))));
  sf.set_fore_color(color_of(bag.read(u"ForeColor", color_value(kColorButtonText))));
  sf.set_enabled(bag.read(u"Enabled", Variant(true)).to_boolean());
  sf.set_font(font_of(bag.read(u"Font", Variant(ambient_or_default_font(host())))));
  sf.set_back_style(bag.read(u"BackStyle", Variant(int16_t{0})).to_integer());
  sf.set_border_style(bag.read(u"BorderStyle", Variant(int16_t{0})).to_integer());
  orientation_ = orientation_of(bag.read(u"Orientation", Variant(int32_t{qrLeftToRight})));
  left_cap_->set_caption(bag.read(u"LTitle", Variant(kLeftTitleDefault)).to_text());
  right_cap_->set_caption(bag.read(u"RTitle", Variant(kRightTitleDefault)).to_text());
  show_titles_ = bag.read(u"ShowTitles", Variant(true)).to_boolean();
  left_list_ = list_text_value(bag.read(u"LeftList", Variant(kLeftListDefault)));
  right_list_ = list_text_value(bag.read(u"RightList", Variant(kRightListDefault)));
  left_item_data_ = list_text_value(bag.read(u"ListListItemData", item_data_default()));
  right_item_data_ = list_text_value(bag.read(u"RightListItemData", item_data_default()));
  Load_Lists();
}

void AddRemove::WriteProperties(PropertyBag& bag) {
  Surface& sf = surface();
  bag.write(u"BackColor", color_value(sf.back_color()), color_value(kColorButtonFace));
  bag.write(u"ForeColor", color_value(sf.fore_color()), color_value(kColorButtonText));
  bag.write(u"Enabled", Variant(sf.enabled()), Variant(true));
  bag.write(u"Font", Variant(sf.font()), Variant(ambient_or_default_font(host())));
  bag.write(u"BackStyle", Variant(sf.back_style()), Variant(int16_t{0}));
  bag.write(u"BorderStyle", Variant(sf.border_style()), Variant(int16_t{0}));
  bag.write(u"Orientation", orientation_, Variant(int32_t{qrLeftToRight}));
  bag.write(u"LTitle", Variant(left_cap_->caption()), Variant(kLeftTitleDefault));
  bag.write(u"RTitle", Variant(right_cap_->caption()), Variant(kRightTitleDefault));
  bag.write(u"ShowTitles", Variant(show_titles_), Variant(true));
  Save_Lists();
  bag.write(u"LeftList", left_list_, Variant(kLeftListDefault));
  bag.write(u"RightList", right_list_, Variant(kRightListDefault));
  bag.write(u"ListListItemData", left_item_data_, item_data_default());
  bag.write(u"RightListItemData", right_item_data_, item_data_default());
}

void AddRemove::Resize() { layout(); }

// ---- List texts --------------------------------------------------------------

void AddRemove::Load_Lists() {
  SkipOnFailure s;
  {
    // Both lists repaint once, after the last item.
    ListBox::Update hold_left(*list1_);
    ListBox::Update hold_right(*list2_);
    s.step([&] { list1_->clear(); });
    s.step([&] { list2_->clear(); });
    load_list(s, *list1_, left_list_, left_item_data_);
    load_list(s, *list2_, right_list_, right_item_data_);
  }
  layout();
}

void AddRemove::Save_Lists() {
  auto [left_items, left_data] = list_texts(*list1_);
  auto [right_items, right_data] = list_texts(*list2_);
  left_list_ = Variant(std::move(left_items));
  notify(u"LeftList");
  left_item_data_ = Variant(std::move(left_data));
  notify(u"ListListItemData");
  right_list_ = Variant(std::move(right_items));
  notify(u"RightList");
  right_item_data_ = Variant(std::move(right_data));
  notify(u"RightListItemData");
}

Variant AddRemove::LeftList() const { return left_list_; }

void AddRemove::set_LeftList(const Variant& text) {
  left_list_ = list_text_value(text);
  notify(u"LeftList");
  Load_Lists();
}

Variant AddRemove::RightList() const { return right_list_; }

void AddRemove::set_RightList(const Variant& text) {
  right_list_ = list_text_value(text);
  notify(u"RightList");
  Load_Lists();
}

Variant AddRemove::LeftListItemData() const { return left_item_data_; }

void AddRemove::set_LeftListItemData(const Variant& text) {
  left_item_data_ = list_text_value(text);
  notify(u"ListListItemData");
}

Variant AddRemove::RightListItemData() const { return right_item_data_; }

void AddRemove::set_RightListItemData(const Variant& text) {
  right_item_data_ = list_text_value(text);
  notify(u"RightListItemData");
}

// ---- Appearance ----------------------------------------------------------------

OleColor AddRemove::BackColor() const { return surface().back_color(); }

void AddRemove::set_BackColor(OleColor color) {
  surface().set_back_color(color);
  left_cap_->set_back_color(color);
  right_cap_->set_back_color(color);
  notify(u"BackColor");
}

OleColor AddRemove::ForeColor() const { return surface().fore_color(); }

void AddRemove::set_ForeColor(OleColor color) {
  surface().set_fore_color(color);
  left_cap_->set_fore_color(color);
  right_cap_->set_fore_color(color);
  notify(u"ForeColor");
}

bool AddRemove::Enabled() const { return surface().enabled(); }

void AddRemove::set_Enabled(bool enabled) {
  surface().set_enabled(enabled);
  notify(u"Enabled");
}

FontRef AddRemove::Font() const { return surface().font(); }

void AddRemove::set_Font(FontRef font) {
  if (!font) throw RuntimeError(kErrInvalidPropertyValue);
  surface().set_font(std::move(font));
  notify(u"Font");
}

int16_t AddRemove::BackStyle() const { return surface().back_style(); }

void AddRemove::set_BackStyle(int16_t style) {
  surface().set_back_style(style);
  notify(u"BackStyle");
}

int16_t AddRemove::BorderStyle() const { return surface().border_style(); }

void AddRemove::set_BorderStyle(int16_t style) {
  surface().set_border_style(style);
  notify(u"BorderStyle");
}

// ---- Layout properties -----------------------------------------------------------

int32_t AddRemove::Orientation() const { return orientation_.to_long(); }

void AddRemove::set_Orientation(int32_t orientation) {
  orientation_ = Variant(orientation);
  notify(u"Orientation");
  layout();
}

bool AddRemove::ShowTitles() const { return show_titles_; }

void AddRemove::set_ShowTitles(bool show) {
  show_titles_ = show;
  notify(u"ShowTitles");
  layout();
}

std::u16string AddRemove::LTitle() const { return left_cap_->caption(); }

void AddRemove::set_LTitle(const std::u16string& title) {
  left_cap_->set_caption(title);
  notify(u"LTitle");
}

std::u16string AddRemove::RTitle() const { return right_cap_->caption(); }

void AddRemove::set_RTitle(const std::u16string& title) {
  right_cap_->set_caption(title);
  notify(u"RTitle");
}

void AddRemove::layout() {
  SkipOnFailure s;
  Surface& sf = surface();
  float sw = sf.scale_width();
  float sh = sf.scale_height();
  Bounds button = cmd_add_->bounds();
  float bw = button.width;
  float bh = button.height;
  float th = left_cap_->bounds().height;

  float lw = (sw - bw - 2 * kButtonMargin) / 2;
  float top = show_titles_ ? std::nearbyint(th) : 0.0f;
  float lh = sh - top;

  bool left_to_right = false;
  s.step([&] { left_to_right = compare(orientation_, Variant(int32_t{qrLeftToRight})) == 0; });
  CommandButton* column[4];
  if (left_to_right) {
    column[0] = cmd_add_;
    column[1] = cmd_add_all_;
    column[2] = cmd_remove_;
    column[3] = cmd_remove_all_;
  } else {
    column[0] = cmd_remove_;
    column[1] = cmd_remove_all_;
    column[2] = cmd_add_;
    column[3] = cmd_add_all_;
  }
  float button_top = bh;
  for (CommandButton* b : column) {
    s.step([&] { set_top(*b, button_top); });
    button_top += bh;
  }
  for (CommandButton* b : {cmd_add_, cmd_add_all_, cmd_remove_, cmd_remove_all_})
    s.step([&] { set_left(*b, lw + kButtonMargin); });

  s.step([&] { list1_->move(0, top, lw, lh); });
  s.step([&] { list2_->move(sw - lw, top, lw, lh); });
  s.step([&] { left_cap_->move(0, 0, lw, left_cap_->bounds().height); });
  s.step([&] { right_cap_->move(sw - lw, 0, lw, right_cap_->bounds().height); });
}

// ---- Per-item members ----------------------------------------------------------------

std::u16string AddRemove::Llist(int16_t index) const { return list1_->list(index); }

void AddRemove::set_Llist(int16_t index, const std::u16string& text) {
  list1_->set_list(index, text);
  notify(u"Llist");
}

int32_t AddRemove::LItemData(int16_t index) const { return list1_->item_data(index); }

void AddRemove::set_LItemData(int16_t index, int32_t data) {
  list1_->set_item_data(index, data);
  notify(u"LItemData");
}

std::u16string AddRemove::RList(int16_t index) const { return list2_->list(index); }

void AddRemove::set_RList(int16_t index, const std::u16string& text) {
  list2_->set_list(index, text);
  notify(u"RList");
}

int32_t AddRemove::RItemData(int16_t index) const { return list2_->item_data(index); }

void AddRemove::set_RItemData(int16_t index, int32_t data) {
  list2_->set_item_data(index, data);
  notify(u"RItemData");
}

void AddRemove::LAddItem(const std::u16string& item, const Variant& index) {
  if (index.is_missing())
    list1_->add_item(item);
  else
    list1_->add_item(item, index.to_integer());
}

void AddRemove::LRemoveItem(int16_t index) { list1_->remove_item(index); }

void AddRemove::RAddItem(const std::u16string& item, const Variant& index) {
  if (index.is_missing())
    list2_->add_item(item);
  else
    list2_->add_item(item, index.to_integer());
}

void AddRemove::RRemoveItem(int16_t index) { list2_->remove_item(index); }

// ---- Transfer commands ---------------------------------------------------------------

void AddRemove::List1_Click() {
  SkipOnFailure s;
  s.step([&] { cmd_remove_->set_enabled(true); });
}

void AddRemove::List2_Click() {
  SkipOnFailure s;
  s.step([&] { cmd_add_->set_enabled(true); });
}

namespace {

// One item with its item data from `from` to the end of `to`. With nothing
// selected in `from` nothing is appended; the remove step still fails, which
// disables the move-all button of this direction.
void move_selected(ListBox& from, ListBox& to, CommandButton& one, CommandButton& all,
                          CommandButton& other_all, const std::function<void()>& change) {
  SkipOnFailure s;
  s.step([&] {
    int selected = from.list_index();
    if (selected >= 0) {
      const int32_t data = from.item_data(selected);
      to.add_item(from.list(selected));
      to.set_item_data(to.list_count() - 1, data);
    }
  });
  s.step([&] { from.remove_item(from.list_index()); });
  s.step([&] { one.set_enabled(false); });
  s.step([&] { from.set_list_index(0); });
  if (s.failed()) s.step([&] { all.set_enabled(false); });
  s.step([&] { other_all.set_enabled(true); });
  s.step(change);
}

// Every item of `from` with its item data, in order, to the end of `to`,
// in one batch.
void move_all(ListBox& from, ListBox& to, CommandButton& one, CommandButton& all,
                     CommandButton& other_all, const std::function<void()>& change) {
  SkipOnFailure s;
  {
    ListBox::Update hold_from(from);
    ListBox::Update hold_to(to);
    std::vector<ListItem> moving;
    s.step([&] { moving = from.items(); });
    s.step([&] { to.add_items(std::move(moving)); });
    s.step([&] { from.clear(); });
  }
  s.step([&] { one.set_enabled(false); });
  s.step([&] { all.set_enabled(false); });
  s.step([&] { other_all.set_enabled(true); });
  s.step(change);
}

}  // namespace

void AddRemove::cmdAdd_Click() {
  move_selected(*list2_, *list1_, *cmd_add_, *cmd_add_all_, *cmd_remove_all_,
                [this] { raise_event(kChangeEvent); });
}

void AddRemove::cmdAddAll_Click() {
  move_all(*list2_, *list1_, *cmd_add_, *cmd_add_all_, *cmd_remove_all_,
           [this] { raise_event(kChangeEvent); });
}

void AddRemove::cmdRemove_Click() {
  move_selected(*list1_, *list2_, *cmd_remove_, *cmd_remove_all_, *cmd_add_all_,
                [this] { raise_event(kChangeEvent); });
}

void AddRemove::cmdRemoveAll_Click() {
  move_all(*list1_, *list2_, *cmd_remove_, *cmd_remove_all_, *cmd_add_all_,
           [this] { raise_event(kChangeEvent); });
}

void AddRemove::List1_DblClick() {
  if (cmd_remove_->enabled()) cmdRemove_Click();
}

void AddRemove::List2_DblClick() {
  if (cmd_add_->enabled()) cmdAdd_Click();
}

}  // namespace qs
