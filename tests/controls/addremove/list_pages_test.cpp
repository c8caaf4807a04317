// The LeftList and RightList property pages: their elements, filling the
// boxes when the selection changes, the changed flag, and applying through
// the selected control's whole-list properties.
#include <memory>
#include <string>
#include <vector>

#include "controls/addremove/list_pages.h"
#include "tests/controls/addremove/addremove_fixture.h"
#include "tests/support/test_page_site.h"

namespace qs::test {
namespace {

// An AddRemove as a page sees it: its four whole-list properties by name.
std::unique_ptr<NamedProperties> page_object(AddRemove& c) {
  auto o = std::make_unique<NamedProperties>();
  o->properties[u"LeftList"] = {[&c] { return c.LeftList(); },
                                [&c](const Variant& v) { c.set_LeftList(v); }};
  o->properties[u"RightList"] = {[&c] { return c.RightList(); },
                                 [&c](const Variant& v) { c.set_RightList(v); }};
  o->properties[u"LeftListItemData"] = {[&c] { return c.LeftListItemData(); },
                                        [&c](const Variant& v) { c.set_LeftListItemData(v); }};
  o->properties[u"RightListItemData"] = {[&c] { return c.RightListItemData(); },
                                         [&c](const Variant& v) { c.set_RightListItemData(v); }};
  return o;
}

class ListPagesTest : public AddRemoveTest {
 protected:
  void SetUp() override {
    AddRemoveTest::SetUp();
    selected = page_object(*ctl);
    site.selection = {selected.get()};
  }

  template <class Page>
  std::unique_ptr<Page> open() {
    auto page = std::make_unique<Page>(rig->platform().create_surface(), site);
    driver().resize(page->surface(), ListPage::kWidth, ListPage::kHeight);
    return page;
  }

  // Empties a box as the user would select all and delete, then forgets the flag.
  void clear_box(TextBox& box) {
    box.set_text(u"");
    site.reset();
  }

  TestPageSite site;
  std::unique_ptr<NamedProperties> selected;
};

struct ElementRow {
  const char16_t* name;
  bool is_label;
  const char16_t* caption;  // labels only
  Bounds bounds;
  int tab_index;
};

struct PageRow {
  bool left;
  const char16_t* caption;
  std::vector<ElementRow> elements;
};

const PageRow kPages[] = {
    {true,
     u"Left List",
     {{u"lblLeftList", true, u"Left List", {90, 120, 2700, 240}, 0},
      {u"txtLeftList", false, nullptr, {90, 370, 2700, 2955}, 1},
      {u"lblLeftListItemData", true, u"Item Data", {2805, 75, 2700, 240}, 2},
      {u"txtLeftListItemData", false, nullptr, {2820, 360, 2700, 2985}, 3}}},
    {false,
     u"Right List",
     {{u"lblRightList", true, u"Right List", {90, 120, 2700, 240}, 0},
      {u"txtRightList", false, nullptr, {90, 370, 2700, 2970}, 1},
      {u"lblRightListItemData", true, u"Item Data", {2880, 75, 2700, 240}, 2},
      {u"txtRightListItemData", false, nullptr, {2865, 375, 3000, 2985}, 3}}},
};

TEST_F(ListPagesTest, EachPageHasItsElementsCaptionsPositionsAndTabOrder) {
  for (const PageRow& row : kPages) {
    std::unique_ptr<ListPage> page;
    if (row.left) page = open<LeftList>();
    else page = open<RightList>();
    EXPECT_EQ(page->caption(), row.caption);
    EXPECT_EQ(page->page_width(), 5925);
    EXPECT_EQ(page->page_height(), 3495);
    for (const ElementRow& e : row.elements) {
      SCOPED_TRACE(std::string(e.name, e.name + std::char_traits<char16_t>::length(e.name)));
      Element* element = page->surface().find(e.name);
      ASSERT_NE(element, nullptr);
      EXPECT_EQ(element->bounds(), e.bounds);
      EXPECT_EQ(element->tab_index(), e.tab_index);
      if (e.is_label) {
        auto* label = dynamic_cast<Label*>(element);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->caption(), e.caption);
      } else {
        auto* box = dynamic_cast<TextBox*>(element);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->style().multi_line);
        EXPECT_EQ(box->style().scroll_bars, ScrollBars::kVertical);
        EXPECT_EQ(box->text(), u"");
      }
    }
  }
}

// What showing the LeftList page does with the control's two left texts.
struct ShowRow {
  const char* what;
  Variant items;
  Variant data;
  const char16_t* items_box;
  const char16_t* data_box;
  bool changed;
};

TEST_F(ListPagesTest, ShowingFillsTheBoxesAndSetsTheFlagOnlyWhenATextChanges) {
  const ShowRow rows[] = {
      {"both empty texts", Variant(u""), Variant(u""), u"", u"", false},
      {"empty values", Variant(), Variant(), u"", u"", false},
      {"items only", Variant(u"a\r\nb"), Variant(u""), u"a\r\nb", u"", true},
      {"item data only", Variant(u""), Variant(u"5"), u"", u"5", true},
      {"numbers as text", Variant(u"x"), Variant(int32_t{-12}), u"x", u"-12", true},
  };
  for (const ShowRow& row : rows) {
    SCOPED_TRACE(row.what);
    ctl->set_LeftList(row.items);
    ctl->set_LeftListItemData(row.data);
    auto page = open<LeftList>();
    site.reset();
    site.show(*page);
    EXPECT_EQ(page->items_box().text(), row.items_box);
    EXPECT_EQ(page->data_box().text(), row.data_box);
    EXPECT_EQ(site.changed(), row.changed);
    EXPECT_TRUE(site.errors.empty());
  }
}

TEST_F(ListPagesTest, EachPageReadsItemDataFirstThenItemsAndWritesThemInTheSameOrder) {
  struct {
    bool left;
    std::vector<std::u16string> calls;
    std::vector<std::u16string> notified;
  } const rows[] = {
      {true,
       {u"get LeftListItemData", u"get LeftList", u"set LeftListItemData", u"set LeftList"},
       {u"ListListItemData", u"LeftList"}},
      {false,
       {u"get RightListItemData", u"get RightList", u"set RightListItemData", u"set RightList"},
       {u"RightListItemData", u"RightList"}},
  };
  for (const auto& row : rows) {
    std::unique_ptr<ListPage> page;
    if (row.left) page = open<LeftList>();
    else page = open<RightList>();
    selected->calls.clear();
    host.reset();
    site.show(*page);
    site.apply(*page);
    EXPECT_EQ(selected->calls, row.calls);
    EXPECT_EQ(host.changes, row.notified);
  }
}

TEST_F(ListPagesTest, AnUntouchedNewInstanceShowsItsInitialTextsAndApplyingLoadsBothLists) {
  auto page = open<LeftList>();
  site.show(*page);
  EXPECT_EQ(page->items_box().text(), u"LeftList");
  EXPECT_EQ(page->data_box().text(), u"0");
  EXPECT_TRUE(site.changed());
  EXPECT_EQ(ctl->List1().list_count(), 0);

  site.apply(*page);
  EXPECT_FALSE(site.changed());
  EXPECT_EQ(items(ctl->List1()), Texts{u"LeftList"});
  EXPECT_EQ(item_data(ctl->List1()), std::vector<int32_t>{0});
  EXPECT_EQ(items(ctl->List2()), Texts{u"Rightlist"});
}

// Typing into the emptied boxes of a page and applying.
struct TypeRow {
  const char* what;
  bool left;
  const char16_t* typed_items;
  const char16_t* typed_data;
  Texts items;
  std::vector<int32_t> data;
};

TEST_F(ListPagesTest, TypedLinesBecomeItemsAndItemData) {
  const TypeRow rows[] = {
      {"three lines and a final break", true, u"a\r\nb\r\nc\r\n", u"", {u"a", u"b", u"c", u""},
       {0, 0, 0, 0}},
      {"fewer item-data lines", true, u"a\r\nb\r\nc", u"7\r\n-3", {u"a", u"b", u"c"}, {7, -3, 0}},
      {"an entry that is no number", true, u"a\r\nb\r\nc", u"12\r\nx\r\n-3", {u"a", u"b", u"c"},
       {12, 0, -3}},
      {"the right list", false, u"r1\r\nr2", u"1\r\n2\r\n3", {u"r1", u"r2"}, {1, 2}},
  };
  for (const TypeRow& row : rows) {
    SCOPED_TRACE(row.what);
    std::unique_ptr<ListPage> page;
    if (row.left) page = open<LeftList>();
    else page = open<RightList>();
    site.show(*page);
    clear_box(page->items_box());
    clear_box(page->data_box());

    driver().type_text(page->items_box(), row.typed_items);
    EXPECT_TRUE(site.changed());
    driver().type_text(page->data_box(), row.typed_data);
    site.apply(*page);
    EXPECT_FALSE(site.changed());
    EXPECT_TRUE(site.errors.empty());

    ListBox& list = row.left ? ctl->List1() : ctl->List2();
    EXPECT_EQ(items(list), row.items);
    EXPECT_EQ(item_data(list), row.data);
    const Variant stored = row.left ? ctl->LeftList() : ctl->RightList();
    EXPECT_EQ(stored.to_text(), row.typed_items);
  }
}

TEST_F(ListPagesTest, WithSeveralControlsSelectedOnlyTheFirstIsReadAndChanged) {
  std::unique_ptr<AddRemove> second = make_control();
  second->InitProperties();
  second->set_LeftList(u"second");
  auto second_object = page_object(*second);
  ctl->set_LeftList(u"first");
  site.selection = {selected.get(), second_object.get()};

  auto page = open<LeftList>();
  site.show(*page);
  EXPECT_EQ(page->items_box().text(), u"first");
  driver().type_text(page->items_box(), u"\r\nmore");
  site.apply(*page);

  EXPECT_EQ(items(ctl->List1()), (Texts{u"first", u"more"}));
  EXPECT_TRUE(second_object->calls.empty());
  EXPECT_EQ(second->LeftList().to_text(), u"second");
  EXPECT_EQ(items(second->List1()), Texts{u"second"});
}

TEST_F(ListPagesTest, ApplyingTheRightListReloadsTheLeftListFromItsStoredTexts) {
  ctl->set_LeftListItemData(u"4\r\n5");
  ctl->set_LeftList(u"p\r\nq");
  // Moves change the list boxes but not the stored texts.
  driver().click_item(ctl->List1(), 0);
  driver().click(ctl->cmdRemove());
  ASSERT_EQ(items(ctl->List1()), Texts{u"q"});

  auto page = open<RightList>();
  site.show(*page);
  clear_box(page->items_box());
  driver().type_text(page->items_box(), u"z");
  site.apply(*page);

  EXPECT_EQ(items(ctl->List1()), (Texts{u"p", u"q"}));
  EXPECT_EQ(item_data(ctl->List1()), (std::vector<int32_t>{4, 5}));
  EXPECT_EQ(items(ctl->List2()), Texts{u"z"});
}

TEST_F(ListPagesTest, TheSameTextAgainLeavesTheFlagClear) {
  ctl->set_LeftList(u"a");
  auto page = open<LeftList>();
  site.show(*page);
  site.apply(*page);
  ASSERT_FALSE(site.changed());
  site.reset();
  // The selection changes to a control with the same texts.
  site.show(*page);
  EXPECT_FALSE(site.changed());
  EXPECT_EQ(site.times_set, 0);
}

TEST_F(ListPagesTest, FailuresOfReadsAndWritesArePassedToTheSite) {
  NamedProperties bare;  // an object without the list properties
  auto page = open<LeftList>();
  driver().type_text(page->items_box(), u"kept");

  site.selection = {&bare};
  site.show(*page);
  site.apply(*page);
  EXPECT_EQ(site.errors, (std::vector<int32_t>{438, 438}));
  EXPECT_TRUE(site.changed());  // a failed apply leaves the flag set
  EXPECT_EQ(page->items_box().text(), u"kept");

  site.reset();
  site.selection.clear();
  site.show(*page);
  site.apply(*page);
  EXPECT_EQ(site.errors, (std::vector<int32_t>{kErrSubscript, kErrSubscript}));

  // A value the control refuses on the item data stops before the items.
  site.reset();
  site.selection = {selected.get()};
  ctl->set_LeftList(u"before");
  page->data_box().set_text(u"1");
  selected->properties[u"LeftListItemData"].set = [](const Variant&) {
    throw RuntimeError(kErrInvalidPropertyValue);
  };
  site.apply(*page);
  EXPECT_EQ(site.errors, std::vector<int32_t>{kErrInvalidPropertyValue});
  EXPECT_EQ(ctl->LeftList().to_text(), u"before");
}

}  // namespace
}  // namespace qs::test
