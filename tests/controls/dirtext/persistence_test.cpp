// Dirtext's save and restore: keys, order and defaults, the one saved
// entry and its selection coming back, and stored values of the wrong kind.
#include <cstdint>

#include "tests/controls/dirtext/dirtext_fixture.h"

namespace qs::test {
namespace {

using DirtextPersistenceTest = DirtextTest;

Texts keys_of(const MemoryPropertyBag& bag) {
  Texts keys;
  for (const auto& [key, value] : bag.entries()) keys.push_back(key);
  return keys;
}

TEST_F(DirtextPersistenceTest, AnEmptyListSavesOnlyItsMissingSelection) {
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(keys_of(bag), Texts{u"ListIndex"});
  EXPECT_EQ(bag.get(u"ListIndex").type(), VarType::kInteger);
  EXPECT_EQ(bag.get(u"ListIndex").to_integer(), -1);
}

TEST_F(DirtextPersistenceTest, ThreeEntriesWithTheFirstSelected) {
  for (const char16_t* item : {u"C:\\a.txt", u"C:\\b.txt", u"C:\\c.txt"}) ctl->AddItem(item);
  ctl->set_ListIndex(0);
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(keys_of(bag), (Texts{u"List0", u"Text"}));
  EXPECT_EQ(bag.get(u"List0").to_text(), u"C:\\a.txt");
  EXPECT_EQ(bag.get(u"Text").to_text(), u"C:\\a.txt");
}

TEST_F(DirtextPersistenceTest, EveryKeyIsWrittenInOrderAndRestored) {
  FontRef font = make_font(FontDesc{u"Arial", 12, 700});
  ctl->set_BackColor(rgb(1, 2, 3));
  ctl->set_ForeColor(rgb(4, 5, 6));
  ctl->set_Enabled(false);
  ctl->set_Font(font);
  ctl->set_BorderStyle(1);
  ctl->set_Filter(u"Text|*.txt");
  ctl->set_Caption(Variant(u"Choose"));
  ctl->set_MultiSelect(true);
  ctl->set_dlgType(dtSaveFile);
  ctl->AddItem(u"C:\\x\\one.txt");
  ctl->AddItem(u"C:\\x\\two.txt");
  ctl->set_ListIndex(1);
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(keys_of(bag), (Texts{u"BackColor", u"ForeColor", u"Enabled", u"Font", u"BorderStyle",
                                 u"Filter", u"Caption", u"MultiSelect", u"DlgType", u"List0",
                                 u"ListIndex", u"Text"}));
  EXPECT_EQ(bag.get(u"DlgType").type(), VarType::kInteger);

  host.reset();
  auto restored = make_control();
  restored->ReadProperties(bag);
  EXPECT_EQ(restored->BackColor(), rgb(1, 2, 3));
  EXPECT_EQ(restored->ForeColor(), rgb(4, 5, 6));
  EXPECT_FALSE(restored->Enabled());
  EXPECT_EQ(restored->Font()->desc(), font->desc());
  EXPECT_EQ(restored->BorderStyle(), 1);
  EXPECT_EQ(restored->Filter(), u"Text|*.txt");
  EXPECT_EQ(restored->Caption().to_text(), u"Choose");
  EXPECT_TRUE(restored->MultiSelect());
  EXPECT_EQ(restored->dlgType(), dtSaveFile);
  // Only entry 0 is kept; the selection past it has nothing to select.
  EXPECT_EQ(entries(*restored), Texts{u"C:\\x\\one.txt"});
  EXPECT_EQ(restored->ListIndex(), -1);
  EXPECT_EQ(host.changes, Texts{});
}

TEST_F(DirtextPersistenceTest, ASavedPathComesBackAsSaved) {
  struct Case {
    const char* name;
    Texts items;
    int16_t selected;
  };
  const Case cases[] = {
      {"empty list", {}, -1},
      {"chosen path, selected", {u"C:\\Docs\\a.txt"}, 0},
      {"chosen path, not selected", {u"C:\\Docs\\a.txt"}, -1},
      {"several paths, first selected", {u"C:\\a", u"C:\\b"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto original = make_control();
    original->InitProperties();
    for (const auto& item : c.items) original->AddItem(item);
    if (c.selected >= 0) original->set_ListIndex(c.selected);
    MemoryPropertyBag first;
    original->WriteProperties(first);

    auto restored = make_control();
    ASSERT_EQ(error_of([&] { restored->ReadProperties(first); }), 0);
    EXPECT_EQ(restored->ListCount(), c.items.empty() ? 0 : 1);
    if (!c.items.empty()) {
      EXPECT_EQ(restored->List(0), c.items[0]);
    }
    EXPECT_EQ(restored->ListIndex(), c.selected);
    EXPECT_EQ(restored->Text(), original->Text());
    MemoryPropertyBag second;
    restored->WriteProperties(second);
    EXPECT_EQ(keys_of(second), keys_of(first));
    for (const auto& [key, value] : first.entries()) EXPECT_TRUE(second.get(key).identical(value));
  }
}

TEST_F(DirtextPersistenceTest, AnEmptyBagRestoresAFreshControl) {
  MemoryPropertyBag empty;
  auto restored = make_control();
  ASSERT_EQ(error_of([&] { restored->ReadProperties(empty); }), 0);
  EXPECT_EQ(restored->ListCount(), 0);
  EXPECT_EQ(restored->ListIndex(), -1);
  EXPECT_EQ(restored->Caption().to_text(), u"Open/Save File");
  EXPECT_EQ(restored->dlgType(), dtOpenFile);
}

TEST_F(DirtextPersistenceTest, StoredValuesOfTheWrongKindFailTheRestore) {
  struct Case {
    const char16_t* key;
    Variant value;
    int32_t error;
  };
  const Case cases[] = {
      {u"BackColor", Variant(u"red"), kErrTypeMismatch},
      {u"ForeColor", Variant(u"blue"), kErrTypeMismatch},
      {u"Enabled", Variant(u"maybe"), kErrTypeMismatch},
      {u"Font", Variant(int16_t{3}), kErrTypeMismatch},
      {u"BorderStyle", Variant(int16_t{7}), kErrInvalidPropertyValue},
      {u"Caption", Variant(make_font(default_font_desc())), kErrTypeMismatch},
      {u"MultiSelect", Variant(u"often"), kErrTypeMismatch},
      {u"DlgType", Variant(int32_t{70000}), kErrOverflow},
      {u"List0", Variant(make_font(default_font_desc())), kErrTypeMismatch},
      {u"ListIndex", Variant(int16_t{-2}), kErrInvalidPropertyValue},
      {u"ListIndex", Variant(u"first"), kErrTypeMismatch},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.key, c.key + std::char_traits<char16_t>::length(c.key)));
    MemoryPropertyBag bag;
    bag.put(c.key, c.value);
    auto restored = make_control();
    EXPECT_EQ(error_of([&] { restored->ReadProperties(bag); }), c.error);
  }
}

}  // namespace
}  // namespace qs::test
