// qCheck's save and restore: keys, order and defaults, the three notifying
// setters and the one Change of a restore, the ambient font, and stored
// values of the wrong kind.
#include <cstdint>

#include "tests/controls/qcheck/qcheck_fixture.h"

namespace qs::test {
namespace {

using QCheckPersistenceTest = QCheckTest;

Texts keys_of(const MemoryPropertyBag& bag) {
  Texts keys;
  for (const auto& [key, value] : bag.entries()) keys.push_back(key);
  return keys;
}

TEST_F(QCheckPersistenceTest, AFreshInstanceStoresNothing) {
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(keys_of(bag), Texts{});
}

TEST_F(QCheckPersistenceTest, EveryKeyIsWrittenInOrderAndRestored) {
  FontRef font = make_font(FontDesc{u"Arial", 12, 700});
  ctl->set_BackColor(rgb(1, 2, 3));
  ctl->set_Enabled(false);
  ctl->set_BackStyle(0);
  ctl->set_BorderStyle(1);
  ctl->set_ForeColor(rgb(4, 5, 6));
  ctl->set_Font(font);
  ctl->set_Caption(u"Tick me");
  ctl->set_ClearColor(rgb(7, 7, 7));
  ctl->set_CheckColor(rgb(8, 8, 8));
  ctl->set_IndeterminantColor(rgb(9, 9, 9));
  ctl->set_Value(Variant(int16_t{1}));
  ctl->set_CheckType(ThreeState);
  ctl->set_Alignment(Right);
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(keys_of(bag), (Texts{u"BackColor", u"Enabled", u"BackStyle", u"BorderStyle",
                                 u"ForeColor", u"Font", u"Caption", u"ClearColor", u"CheckColor",
                                 u"IndeterminantColor", u"Value", u"CheckType", u"Alignment"}));
  EXPECT_EQ(bag.get(u"CheckType").type(), VarType::kLong);
  EXPECT_EQ(bag.get(u"Alignment").type(), VarType::kLong);
  EXPECT_EQ(bag.get(u"Value").type(), VarType::kInteger);

  host.reset();
  auto restored = make_control();
  restored->ReadProperties(bag);
  EXPECT_EQ(restored->BackColor(), rgb(1, 2, 3));
  EXPECT_EQ(restored->Label1().back_color(), rgb(1, 2, 3));
  EXPECT_FALSE(restored->Enabled());
  EXPECT_EQ(restored->BackStyle(), 0);
  EXPECT_EQ(restored->Label1().back_style(), 0);
  EXPECT_EQ(restored->BorderStyle(), 1);
  EXPECT_EQ(restored->ForeColor(), rgb(4, 5, 6));
  EXPECT_EQ(restored->Font()->desc(), font->desc());
  EXPECT_EQ(restored->Caption(), u"Tick me");
  EXPECT_EQ(restored->ClearColor(), rgb(7, 7, 7));
  EXPECT_EQ(restored->CheckColor(), rgb(8, 8, 8));
  EXPECT_EQ(restored->IndeterminantColor(), rgb(9, 9, 9));
  EXPECT_EQ(restored->Value().to_long(), 1);
  EXPECT_EQ(restored->Picture1().back_color(), rgb(8, 8, 8)) << "restored in CheckColor";
  EXPECT_EQ(restored->CheckType(), ThreeState);
  EXPECT_EQ(restored->Alignment(), Right);
  EXPECT_EQ(restored->Picture1().bounds().left, 0) << "alignment waits for the next layout";
  EXPECT_EQ(host.changes, (Texts{u"BackColor", u"BackStyle", u"Value"}));
  EXPECT_EQ(event_ids(), Ids{qCheck::kChangeEvent});

  driver().resize(restored->surface(), 1980, 360);
  EXPECT_EQ(restored->Picture1().bounds().left, 1740);
}

TEST_F(QCheckPersistenceTest, AnEmptyBagRestoresTheDefaultsAndTheAmbientFont) {
  host.ambient = make_font(FontDesc{u"Tahoma", 9});
  auto fresh = make_control();
  fresh->InitProperties();
  EXPECT_NE(fresh->Font()->desc(), host.ambient->desc()) << "a new instance keeps the caption's font";
  MemoryPropertyBag saved;
  fresh->WriteProperties(saved);
  EXPECT_EQ(keys_of(saved), Texts{u"Font"});

  MemoryPropertyBag empty;
  auto restored = make_control();
  host.reset();
  restored->ReadProperties(empty);
  EXPECT_EQ(restored->Font()->desc(), host.ambient->desc());
  EXPECT_EQ(restored->BackColor(), kColorButtonFace);
  EXPECT_EQ(restored->BackStyle(), 1);
  EXPECT_EQ(restored->Caption(), u"Label1");
  EXPECT_EQ(restored->Value().type(), VarType::kInteger);
  EXPECT_EQ(restored->Value().to_long(), 0);
  EXPECT_EQ(restored->Picture1().back_color(), kBlack);
  EXPECT_EQ(restored->CheckColor(), kGreen);
  EXPECT_EQ(restored->IndeterminantColor(), kOrange);
  EXPECT_EQ(host.changes, (Texts{u"BackColor", u"BackStyle", u"Value"}));
  EXPECT_EQ(host.count(qCheck::kChangeEvent), 1);
  MemoryPropertyBag again;
  restored->WriteProperties(again);
  EXPECT_EQ(keys_of(again), Texts{});
}

TEST_F(QCheckPersistenceTest, ValuesOfOtherKindsThatLoadAlsoSaveBack) {
  struct Case {
    const char* name;
    const char16_t* key;
    Variant stored;
    Variant saved;  // what a save writes back
  };
  const Case cases[] = {
      {"text value", u"Value", Variant(u"abc"), Variant(u"abc")},
      {"null value", u"Value", Variant::null(), Variant::null()},
      {"fractional value", u"Value", Variant(2.5), Variant(2.5)},
      {"colour as unsigned", u"CheckColor", Variant(4294967295.0), Variant(int32_t{-1})},
      {"colour as text", u"ClearColor", Variant(u"255"), Variant(int32_t{255})},
      {"caption as number", u"Caption", Variant(12.5), Variant(u"12.5")},
      {"enabled as text", u"Enabled", Variant(u"False"), Variant(false)},
      {"check type as double", u"CheckType", Variant(2.5), Variant(int32_t{2})},
      {"alignment outside the enumeration", u"Alignment", Variant(int32_t{-9}), Variant(int32_t{-9})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryPropertyBag bag;
    bag.put(c.key, c.stored);
    auto restored = make_control();
    restored->ReadProperties(bag);
    MemoryPropertyBag out;
    restored->WriteProperties(out);
    ASSERT_TRUE(out.contains(c.key));
    EXPECT_TRUE(out.get(c.key).identical(c.saved)) << utf8(out.get(c.key).to_text());
    auto again = make_control();
    again->ReadProperties(out);
  }
}

TEST_F(QCheckPersistenceTest, StoredValuesOfTheWrongKindFailAndLeaveASaveableControl) {
  struct Case {
    const char16_t* key;
    Variant value;
    int32_t error;
  };
  const Case cases[] = {
      {u"BackColor", Variant(u"red"), kErrTypeMismatch},
      {u"BackColor", Variant(1e12), kErrOverflow},
      {u"Enabled", Variant(u"perhaps"), kErrTypeMismatch},
      {u"BackStyle", Variant(int16_t{7}), kErrInvalidPropertyValue},
      {u"BackStyle", Variant(u"solid"), kErrTypeMismatch},
      {u"BorderStyle", Variant(int32_t{-1}), kErrInvalidPropertyValue},
      {u"ForeColor", Variant(make_font()), kErrTypeMismatch},
      {u"Font", Variant(int32_t{5}), kErrTypeMismatch},
      {u"Font", Variant::nothing(), kErrInvalidPropertyValue},
      {u"Font", Variant(PictureRef(std::make_shared<Picture>())), kErrInvalidPropertyValue},
      {u"Caption", Variant(make_font()), kErrTypeMismatch},
      {u"ClearColor", Variant(u"black"), kErrTypeMismatch},
      {u"Value", Variant(make_font()), kErrTypeMismatch},
      {u"Value", Variant::missing(), kErrTypeMismatch},
      {u"CheckType", Variant(u"three"), kErrTypeMismatch},
      {u"Alignment", Variant(3e9), kErrOverflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.key));
    MemoryPropertyBag bag;
    bag.put(c.key, c.value);
    auto other = make_control();
    EXPECT_EQ(error_of([&] { other->ReadProperties(bag); }), c.error);
    MemoryPropertyBag out;
    other->WriteProperties(out);
    auto again = make_control();
    EXPECT_EQ(error_of([&] { again->ReadProperties(out); }), 0);
    if (std::u16string_view(c.key) == u"Value") {
      EXPECT_FALSE(out.contains(u"Value")) << "the refused value is not kept";
    }
  }
}

TEST_F(QCheckPersistenceTest, RefreshRepaintsWithoutNotifying) {
  ctl->Refresh();
  driver().pump();
  EXPECT_TRUE(host.changes.empty());
  EXPECT_TRUE(host.events.empty());
}

}  // namespace
}  // namespace qs::test
