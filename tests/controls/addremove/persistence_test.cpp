// The list text format, the four list texts with Load_Lists and Save_Lists,
// and initialisation, restoration and saving with every key and default.
#include <functional>
#include <limits>
#include <string>

#include "controls/addremove/list_text.h"
#include "core/property_stream_codec.h"
#include "tests/controls/addremove/addremove_fixture.h"

namespace qs::test {
namespace {

using PersistenceTest = AddRemoveTest;

const char16_t* const kPlainKeys[] = {u"BackColor", u"ForeColor", u"Enabled", u"Font",
                                      u"BackStyle", u"BorderStyle", u"Orientation",
                                      u"LTitle", u"RTitle", u"ShowTitles"};

std::u16string text_of(const Variant& v) { return v.is_string() ? v.string_value() : u"<not text>"; }

TEST_F(PersistenceTest, SaveListsWritesItemsAndItemDataAsLines) {
  fill({u"Red", u"Green", u"", u"Blue"}, {});
  for (int16_t i = 0; int32_t d : {5, -2, 0, 17}) ctl->set_LItemData(i++, d);
  ctl->RAddItem(u"only");
  ctl->set_RItemData(0, -2147483647 - 1);
  driver().click_item(ctl->List1(), 1);
  host.reset();

  ctl->Save_Lists();
  const std::u16string items = text_of(ctl->LeftList());
  EXPECT_EQ(items, std::u16string(u"Red\r\nGreen\r\n\r\nBlue"));
  EXPECT_EQ(items.size(), 18u);
  const std::u16string data = text_of(ctl->LeftListItemData());
  EXPECT_EQ(data, std::u16string(u"5\r\n-2\r\n0\r\n17"));
  EXPECT_EQ(data.size(), 12u);
  EXPECT_EQ(text_of(ctl->RightList()), u"only");
  EXPECT_EQ(text_of(ctl->RightListItemData()), u"-2147483648");
  EXPECT_EQ(host.changes,
            (Texts{u"LeftList", u"ListListItemData", u"RightList", u"RightListItemData"}));
  // Capturing does not reload: the selection survives.
  EXPECT_EQ(ctl->List1().list_index(), 1);
}

TEST_F(PersistenceTest, ItemDataTextTakesEffectAtTheNextLoad) {
  fill({u"keep"}, {});
  ctl->set_LeftListItemData(Variant(u"12\r\nx\r\n-3"));
  EXPECT_EQ(items(ctl->List1()), (Texts{u"keep"}));
  EXPECT_EQ(text_of(ctl->LeftListItemData()), u"12\r\nx\r\n-3");

  ctl->set_LeftList(Variant(u"a\r\nb\r\nc"));
  EXPECT_EQ(items(ctl->List1()), (Texts{u"a", u"b", u"c"}));
  EXPECT_EQ(item_data(ctl->List1()), (std::vector<int32_t>{12, 0, -3}));
  // The initial right text "Rightlist" is loaded too.
  EXPECT_EQ(items(ctl->List2()), (Texts{u"Rightlist"}));

  ctl->set_RightListItemData(Variant(int32_t{42}));
  ctl->set_RightList(Variant(u"p\r\nq"));
  EXPECT_EQ(item_data(ctl->List2()), (std::vector<int32_t>{42, 0}));
  EXPECT_EQ(host.changes, (Texts{u"ListListItemData", u"LeftList", u"RightListItemData",
                                 u"RightList"}));
  EXPECT_TRUE(host.events.empty());
}

TEST_F(PersistenceTest, ReadingCutsOnlyAtCarriageReturnLineFeedPairs) {
  struct Case {
    std::u16string text;
    Texts entries;
  };
  const std::u16string nul(1, u'\0');
  const Case cases[] = {
      {u"", {}},
      {u"a\r\n", {u"a", u""}},
      {u"\r\n", {u"", u""}},
      {u"a\rb\nc\n\rd", {u"a\rb\nc\n\rd"}},
      {u"\r\r\n\n", {u"\r", u"\n"}},
      {u"  padded  \r\n\tt", {u"  padded  ", u"\tt"}},
  };
  for (const Case& c : cases) {
    ctl->set_LeftList(Variant(c.text));
    EXPECT_EQ(items(ctl->List1()), c.entries) << utf8(c.text);
  }
  // A NUL is an ordinary character of its entry.
  const std::u16string with_nul = u"x" + nul + u"y\r\n" + nul;
  EXPECT_EQ(split_list_text(with_nul), (Texts{u"x" + nul + u"y", nul}));
  ctl->set_LeftList(Variant(with_nul));
  EXPECT_EQ(items(ctl->List1()), (Texts{u"x" + nul + u"y", nul}));
  // A number is read as its decimal form.
  ctl->set_LeftList(Variant(12.5));
  EXPECT_EQ(items(ctl->List1()), (Texts{u"12.5"}));
  ctl->set_LeftList(Variant());
  EXPECT_EQ(ctl->List1().list_count(), 0);
}

TEST_F(PersistenceTest, ItemDataEntriesThatAreNoNumberOrOutOfRangeAreSkipped) {
  const Texts entries = {u"7",           u"",           u"2147483648", u"-2147483648",
                         u"2.5",         u"3.5",        u" 9 ",        u"1e3",
                         u"2147483647.5", u"abc",       u"-0.5",       u"&H10"};
  const std::vector<int32_t> expected = {7, 0, 0, -2147483647 - 1, 2, 4, 9, 1000, 0, 0, 0, 16};
  std::u16string items_text, data_text;
  for (size_t i = 0; i < entries.size(); ++i) {
    items_text += (i ? u"\r\n" : u"") + std::u16string(u"i");
    data_text += (i ? u"\r\n" : u"") + entries[i];
  }
  ctl->set_LeftListItemData(Variant(data_text));
  ctl->set_LeftList(Variant(items_text));
  EXPECT_EQ(item_data(ctl->List1()), expected);

  // More entries than items: the rest are ignored; fewer: the rest keep 0.
  ctl->set_RightListItemData(Variant(u"1\r\n2\r\n3"));
  ctl->set_RightList(Variant(u"a\r\nb"));
  EXPECT_EQ(item_data(ctl->List2()), (std::vector<int32_t>{1, 2}));
  ctl->set_RightList(Variant(u"a\r\nb\r\nc\r\nd"));
  EXPECT_EQ(item_data(ctl->List2()), (std::vector<int32_t>{1, 2, 3, 0}));
}

TEST_F(PersistenceTest, SpecialItemsSurviveASaveAndRestore) {
  // One empty item saves as the empty text and comes back as no item; an
  // item holding CR LF comes back as two.
  ctl->LAddItem(u"");
  ctl->RAddItem(u"two\r\nlines");
  ctl->RAddItem(u"lone\rcr");
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(text_of(bag.get(u"LeftList")), u"");

  auto restored = make_control();
  restored->ReadProperties(bag);
  EXPECT_EQ(restored->List1().list_count(), 0);
  EXPECT_EQ(items(restored->List2()), (Texts{u"two", u"lines", u"lone\rcr"}));
}

TEST_F(PersistenceTest, FreshInstanceSavesEmptyListsAndNothingElse) {
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  // The back style is the surface's own until assigned; stored unless it is 0.
  const bool back_style_stored = ctl->BackStyle() != 0;
  for (const char16_t* key : kPlainKeys) {
    if (std::u16string_view(key) == u"BackStyle") {
      EXPECT_EQ(bag.contains(key), back_style_stored);
    } else {
      EXPECT_FALSE(bag.contains(key)) << utf8(key);
    }
  }
  EXPECT_EQ(text_of(bag.get(u"LeftList")), u"");
  EXPECT_EQ(text_of(bag.get(u"RightList")), u"");
  EXPECT_EQ(text_of(bag.get(u"ListListItemData")), u"");
  EXPECT_EQ(text_of(bag.get(u"RightListItemData")), u"");
  EXPECT_EQ(bag.entries().size(), back_style_stored ? 5u : 4u);
  // Saving captures through Save_Lists, which notifies.
  EXPECT_EQ(host.changes,
            (Texts{u"LeftList", u"ListListItemData", u"RightList", u"RightListItemData"}));
}

TEST_F(PersistenceTest, MissingKeysRestoreTheDefaults) {
  MemoryPropertyBag empty;
  ctl->ReadProperties(empty);
  EXPECT_EQ(items(ctl->List1()), (Texts{u"LeftList"}));
  EXPECT_EQ(items(ctl->List2()), (Texts{u"Rightlist"}));
  EXPECT_EQ(text_of(ctl->LeftList()), u"LeftList");
  EXPECT_EQ(text_of(ctl->RightList()), u"Rightlist");
  EXPECT_EQ(ctl->LeftListItemData().to_long(), 0);
  EXPECT_EQ(ctl->BackColor(), kColorButtonFace);
  EXPECT_EQ(ctl->ForeColor(), kColorButtonText);
  EXPECT_TRUE(ctl->Enabled());
  EXPECT_EQ(ctl->BackStyle(), 0);
  EXPECT_EQ(ctl->BorderStyle(), 0);
  EXPECT_EQ(ctl->Orientation(), qrLeftToRight);
  EXPECT_TRUE(ctl->ShowTitles());
  EXPECT_EQ(ctl->LTitle(), u"List1");
  EXPECT_EQ(ctl->RTitle(), u"List2");
  EXPECT_EQ(item_data(ctl->List1()), (std::vector<int32_t>{0}));
  EXPECT_EQ(buttons(), (Flags{false, false, false, false}));
  EXPECT_TRUE(host.changes.empty());

  // A left list holding exactly its default text is not stored, and comes back.
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_FALSE(bag.contains(u"LeftList"));
  EXPECT_FALSE(bag.contains(u"RightList"));
  EXPECT_TRUE(bag.contains(u"ListListItemData"));
  auto restored = make_control();
  restored->ReadProperties(bag);
  EXPECT_EQ(items(restored->List1()), (Texts{u"LeftList"}));
  EXPECT_EQ(items(restored->List2()), (Texts{u"Rightlist"}));
}

TEST_F(PersistenceTest, EveryKeyIsWrittenInOrderAndRestoredWithoutNotifying) {
  FontRef font = make_font(FontDesc{u"Arial", 10, 700});
  ctl->set_BackColor(rgb(1, 2, 3));
  ctl->set_ForeColor(rgb(4, 5, 6));
  ctl->set_Enabled(false);
  ctl->set_Font(font);
  ctl->set_BackStyle(1);
  ctl->set_BorderStyle(1);
  ctl->set_Orientation(qrRightToLeft);
  ctl->set_LTitle(u"From");
  ctl->set_RTitle(u"To");
  ctl->set_ShowTitles(false);
  ctl->set_LeftListItemData(Variant(u"3\r\n4"));
  ctl->set_LeftList(Variant(u"L1\r\nL2"));
  ctl->set_RightList(Variant(u"R1"));
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);

  Texts keys;
  for (const auto& [key, value] : bag.entries()) keys.push_back(key);
  EXPECT_EQ(keys, (Texts{u"BackColor", u"ForeColor", u"Enabled", u"Font", u"BackStyle",
                         u"BorderStyle", u"Orientation", u"LTitle", u"RTitle", u"ShowTitles",
                         u"LeftList", u"RightList", u"ListListItemData", u"RightListItemData"}));
  EXPECT_EQ(text_of(bag.get(u"ListListItemData")), u"3\r\n4");
  EXPECT_EQ(text_of(bag.get(u"RightListItemData")), u"0");

  host.reset();
  auto restored = make_control();
  driver().resize(restored->surface(), 4800, 3600);
  restored->ReadProperties(bag);
  EXPECT_EQ(restored->BackColor(), rgb(1, 2, 3));
  EXPECT_EQ(restored->ForeColor(), rgb(4, 5, 6));
  // Restoration leaves the titles' colours at their initial values.
  EXPECT_EQ(restored->LeftCap().back_color(), kColorButtonFace);
  EXPECT_EQ(restored->RightCap().fore_color(), kColorButtonText);
  EXPECT_FALSE(restored->Enabled());
  EXPECT_EQ(restored->Font()->desc(), font->desc());
  EXPECT_EQ(restored->BackStyle(), 1);
  EXPECT_EQ(restored->BorderStyle(), 1);
  EXPECT_EQ(restored->Orientation(), qrRightToLeft);
  EXPECT_EQ(restored->LTitle(), u"From");
  EXPECT_EQ(restored->RTitle(), u"To");
  EXPECT_FALSE(restored->ShowTitles());
  EXPECT_EQ(items(restored->List1()), (Texts{u"L1", u"L2"}));
  EXPECT_EQ(item_data(restored->List1()), (std::vector<int32_t>{3, 4}));
  EXPECT_EQ(items(restored->List2()), (Texts{u"R1"}));
  EXPECT_EQ(restored->List1().bounds().top, 0);
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(PersistenceTest, MovesReachTheStoreOnlyAtTheNextSave) {
  ctl->set_LeftList(Variant(u"A\r\nB"));
  ctl->set_RightList(Variant(u""));
  driver().click_item(ctl->List1(), 0);
  driver().click(ctl->cmdRemove());
  EXPECT_EQ(text_of(ctl->LeftList()), u"A\r\nB");
  EXPECT_EQ(text_of(ctl->RightList()), u"");

  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(text_of(bag.get(u"LeftList")), u"B");
  EXPECT_EQ(text_of(bag.get(u"RightList")), u"A");
  EXPECT_EQ(text_of(ctl->LeftList()), u"B");
}

TEST_F(PersistenceTest, StoredValueOfTheWrongKindFailsAndLeavesTheInstanceUsable) {
  struct Case {
    const char16_t* key;
    Variant value;
    int32_t error;
  };
  const Case cases[] = {
      {u"BackColor", Variant(u"red"), kErrTypeMismatch},
      {u"ForeColor", Variant(make_font()), kErrTypeMismatch},
      {u"Enabled", Variant(u"perhaps"), kErrTypeMismatch},
      {u"Font", Variant(int32_t{5}), kErrTypeMismatch},
      {u"BackStyle", Variant(int16_t{7}), kErrInvalidPropertyValue},
      {u"BorderStyle", Variant(u"thick"), kErrTypeMismatch},
      {u"ShowTitles", Variant(u"no way"), kErrTypeMismatch},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.key));
    MemoryPropertyBag bag;
    bag.put(c.key, c.value);
    auto other = make_control();
    EXPECT_EQ(error_of([&] { other->ReadProperties(bag); }), c.error);
    other->set_LeftList(Variant(u"x\r\ny"));
    EXPECT_EQ(items(other->List1()), (Texts{u"x", u"y"}));
    MemoryPropertyBag out;
    other->WriteProperties(out);
    EXPECT_EQ(text_of(out.get(u"LeftList")), u"x\r\ny");
  }

  // A list text that cannot be taken as text loads nothing and reports nothing.
  MemoryPropertyBag bag;
  bag.put(u"LeftList", Variant(make_font()));
  bag.put(u"ListListItemData", Variant(make_font()));
  ctl->ReadProperties(bag);
  EXPECT_EQ(ctl->List1().list_count(), 0);
  EXPECT_EQ(items(ctl->List2()), (Texts{u"Rightlist"}));
}

// Whatever a restore accepts must come back through the getters and a save.
TEST_F(PersistenceTest, StoredOrientationMustBeAValueTheGetterCanGiveBack) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* what;
    Variant value;
    int32_t error;
    int32_t orientation;  // what the getter gives when accepted
  };
  const Case cases[] = {
      {"Long 1", Variant(int32_t{1}), 0, qrRightToLeft},
      {"Integer 0", Variant(int16_t{0}), 0, qrLeftToRight},
      {"Boolean true", Variant(true), 0, -1},
      {"Double 1.0", Variant(1.0), 0, qrRightToLeft},
      {"Single 7.5", Variant(7.5f), 0, 8},
      {"numeric text", Variant(u" 1 "), 0, qrRightToLeft},
      {"Empty", Variant(), 0, qrLeftToRight},
      {"largest Long", Variant(2147483647.0), 0, 2147483647},
      {"text", Variant(u"sideways"), kErrTypeMismatch, 0},
      {"empty text", Variant(u""), kErrTypeMismatch, 0},
      {"Null", Variant::null(), kErrTypeMismatch, 0},
      {"font", Variant(make_font()), kErrTypeMismatch, 0},
      {"no object", Variant::nothing(), kErrTypeMismatch, 0},
      {"missing", Variant::missing(), kErrTypeMismatch, 0},
      {"NaN", Variant(nan), kErrOverflow, 0},
      {"infinity", Variant(inf), kErrOverflow, 0},
      {"minus infinity", Variant(-inf), kErrOverflow, 0},
      {"Single NaN", Variant(float(nan)), kErrOverflow, 0},
      {"beyond the Long range", Variant(2147483648.0), kErrOverflow, 0},
      {"text beyond the Long range", Variant(u"1e10"), kErrOverflow, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryPropertyBag bag;
    bag.put(u"Orientation", c.value);
    auto restored = make_control();
    EXPECT_EQ(error_of([&] { restored->ReadProperties(bag); }), c.error);
    if (c.error) {
      // The refused value is not kept: the instance keeps its orientation.
      EXPECT_EQ(restored->Orientation(), qrLeftToRight);
    } else {
      EXPECT_EQ(restored->Orientation(), c.orientation);
    }
    MemoryPropertyBag out;
    ASSERT_EQ(error_of([&] { restored->WriteProperties(out); }), 0);
    EXPECT_EQ(error_of([&] { encode_property_stream(out); }), 0);
  }
}

TEST_F(PersistenceTest, ListTextsRefuseNumbersWithoutADecimalForm) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const char16_t* const keys[] = {u"LeftList", u"RightList", u"ListListItemData",
                                  u"RightListItemData"};
  const std::function<void(AddRemove&, const Variant&)> setters[] = {
      &AddRemove::set_LeftList, &AddRemove::set_RightList, &AddRemove::set_LeftListItemData,
      &AddRemove::set_RightListItemData};
  const std::function<Variant(AddRemove&)> getters[] = {
      &AddRemove::LeftList, &AddRemove::RightList, &AddRemove::LeftListItemData,
      &AddRemove::RightListItemData};
  struct Case {
    const char* what;
    Variant value;
    int32_t error;
  };
  const Case cases[] = {
      {"NaN", Variant(nan), kErrInvalidPropertyValue},
      {"infinity", Variant(inf), kErrInvalidPropertyValue},
      {"minus infinity", Variant(-inf), kErrInvalidPropertyValue},
      {"Single infinity", Variant(float(inf)), kErrInvalidPropertyValue},
      {"Single NaN", Variant(float(nan)), kErrInvalidPropertyValue},
      {"largest Double", Variant(std::numeric_limits<double>::max()), 0},
      {"Null", Variant::null(), 0},
      {"Integer", Variant(int16_t{4}), 0},
  };
  for (size_t k = 0; k < std::size(keys); ++k) {
    for (const Case& c : cases) {
      SCOPED_TRACE(utf8(keys[k]) + " " + c.what);
      MemoryPropertyBag bag;
      bag.put(keys[k], c.value);
      auto restored = make_control();
      EXPECT_EQ(error_of([&] { restored->ReadProperties(bag); }), c.error);

      host.reset();
      const Variant before = getters[k](*ctl);
      EXPECT_EQ(error_of([&] { setters[k](*ctl, c.value); }), c.error);
      if (c.error) {
        EXPECT_TRUE(getters[k](*ctl).identical(before));
        EXPECT_TRUE(host.changes.empty());
      } else {
        EXPECT_TRUE(getters[k](*ctl).identical(c.value));
      }
      MemoryPropertyBag out;
      ASSERT_EQ(error_of([&] { ctl->WriteProperties(out); }), 0);
      EXPECT_EQ(error_of([&] { encode_property_stream(out); }), 0);
    }
  }
}

TEST_F(PersistenceTest, LargeTextsLoadExactlyAsWritten) {
  // One entry of a million characters with a lone CR and a lone LF in it.
  std::u16string line(1'000'000, u'x');
  line[10] = u'\r';
  line[500'000] = u'\n';
  ctl->set_LeftList(Variant(line + u"\r\nend"));
  ASSERT_EQ(ctl->List1().list_count(), 2);
  EXPECT_TRUE(ctl->Llist(0) == line) << "the long entry changed";
  EXPECT_EQ(ctl->Llist(1), u"end");

  // A hundred thousand entries with their item data, and back.
  const int n = 100'000;
  ListTextWriter items_text, data_text;
  for (int i = 0; i < n; ++i) {
    items_text.add(u"item" + utf16(std::to_string(i)));
    data_text.add(int32_t{i - 50'000});
  }
  ctl->set_RightListItemData(Variant(data_text.text()));
  ctl->set_RightList(Variant(items_text.text()));
  ASSERT_EQ(ctl->List2().list_count(), n);
  EXPECT_EQ(ctl->List2().list(99'999), u"item99999");
  EXPECT_EQ(ctl->List2().item_data(0), -50'000);
  EXPECT_EQ(ctl->List2().item_data(n - 1), 49'999);
  ctl->Save_Lists();
  EXPECT_EQ(text_of(ctl->RightList()), items_text.text());
  EXPECT_EQ(text_of(ctl->RightListItemData()), data_text.text());
}

}  // namespace
}  // namespace qs::test
