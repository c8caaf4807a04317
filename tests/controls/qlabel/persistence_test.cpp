// qLabel's save and restore: the nine keys in order with their defaults,
// the shadow rebuilt from the text, no notification, and stored values of
// the wrong kind.
#include <climits>

#include "tests/controls/qlabel/qlabel_fixture.h"

namespace qs::test {
namespace {

using QLabelPersistenceTest = QLabelTest;

OleColor color_of(const Variant& v) { return static_cast<OleColor>(v.to_long()); }

Texts keys_of(const MemoryPropertyBag& bag) {
  Texts keys;
  for (const auto& [key, value] : bag.entries()) keys.push_back(key);
  return keys;
}

TEST_F(QLabelPersistenceTest, ANewInstanceStoresItsDesignTextAndColour) {
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  // The surface's own back style is stored where it differs from transparent.
  Texts expected{u"ForeColor"};
  if (ctl->BackStyle() != 0) expected.push_back(u"BackStyle");
  expected.push_back(u"Caption");
  EXPECT_EQ(keys_of(bag), expected);
  EXPECT_EQ(color_of(bag.get(u"ForeColor")), 0x80000010u);
  EXPECT_EQ(bag.get(u"Caption").to_text(), u"ShadowText");
}

TEST_F(QLabelPersistenceTest, EveryKeyIsWrittenInOrderAndRestoredWithoutNotifying) {
  FontRef font = make_font(FontDesc{u"Arial", 14, 700, true});
  ctl->set_BackColor(rgb(1, 2, 3));
  ctl->set_ForeColor(rgb(4, 5, 6));
  ctl->set_Enabled(false);
  ctl->set_Font(font);
  ctl->set_BackStyle(1);
  ctl->set_BorderStyle(1);
  ctl->set_Shadow(-30);
  ctl->set_ShadowColor(rgb(7, 8, 9));
  ctl->set_Caption(u"Shade");
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(keys_of(bag), (Texts{u"BackColor", u"ForeColor", u"Enabled", u"Font", u"BackStyle",
                                 u"BorderStyle", u"Shadow", u"ShadowColor", u"Caption"}));
  EXPECT_EQ(bag.get(u"Shadow").type(), VarType::kInteger);

  host.reset();
  auto restored = make_control();
  driver().resize(restored->surface(), 1110, 435);
  restored->ReadProperties(bag);
  EXPECT_EQ(restored->BackColor(), rgb(1, 2, 3));
  EXPECT_EQ(restored->ForeColor(), rgb(4, 5, 6));
  EXPECT_FALSE(restored->Label1().enabled());
  EXPECT_FALSE(restored->Label2().enabled());
  EXPECT_EQ(restored->Font()->desc(), font->desc());
  EXPECT_EQ(restored->Label2().font(), restored->Label1().font());
  EXPECT_EQ(restored->BackStyle(), 1);
  EXPECT_EQ(restored->BorderStyle(), 1);
  EXPECT_EQ(restored->Shadow(), -30);
  EXPECT_EQ(restored->ShadowColor(), rgb(7, 8, 9));
  EXPECT_EQ(restored->Label1().caption(), u"Shade");
  EXPECT_EQ(restored->Label2().caption(), u"Shade");
  // Laid out once at the end.
  EXPECT_EQ(restored->Label1().bounds(), (Bounds{30, 30, 1110, 435}));
  EXPECT_EQ(restored->Label2().bounds(), (Bounds{0, 0, 1110, 435}));
  EXPECT_TRUE(host.changes.empty());
  EXPECT_TRUE(host.events.empty());
}

TEST_F(QLabelPersistenceTest, ABagWithOnlyACaptionGivesTheStoredDefaults) {
  MemoryPropertyBag bag;
  bag.put(u"Caption", Variant(u"Only"));
  auto restored = make_control();
  driver().resize(restored->surface(), 1110, 435);
  restored->ReadProperties(bag);
  EXPECT_EQ(restored->Shadow(), 1);
  EXPECT_EQ(restored->Label2().bounds(), (Bounds{1, 1, 1110, 435})) << "shadow to the lower right";
  EXPECT_EQ(restored->ForeColor(), kColorButtonText);
  EXPECT_EQ(restored->ShadowColor(), kColorButtonText);
  EXPECT_EQ(restored->BackStyle(), 0) << "transparent";
  EXPECT_EQ(restored->BorderStyle(), 0);
  EXPECT_EQ(restored->BackColor(), kColorButtonFace);
  EXPECT_TRUE(restored->Enabled());
  EXPECT_EQ(restored->Label2().caption(), u"Only");

  // Saved again, only the caption is stored.
  MemoryPropertyBag out;
  restored->WriteProperties(out);
  EXPECT_EQ(keys_of(out), Texts{u"Caption"});
}

TEST_F(QLabelPersistenceTest, TheShadowTakesTheAmbientFontObjectOfTheText) {
  host.ambient = make_font(FontDesc{u"Tahoma", 9});
  MemoryPropertyBag empty;
  ctl->ReadProperties(empty);
  EXPECT_EQ(ctl->Font()->desc(), host.ambient->desc());
  EXPECT_EQ(ctl->Label2().font(), ctl->Label1().font());
  EXPECT_EQ(ctl->Caption(), u"Label1");
  EXPECT_EQ(ctl->Label2().caption(), u"Label1");
}

TEST_F(QLabelPersistenceTest, StoredValuesOfTheWrongKindFailAndLeaveASaveableControl) {
  struct Case {
    const char16_t* key;
    Variant value;
    int32_t error;
  };
  const Case cases[] = {
      {u"BackColor", Variant(u"red"), kErrTypeMismatch},
      {u"ForeColor", Variant(make_font()), kErrTypeMismatch},
      {u"Enabled", Variant(u"maybe"), kErrTypeMismatch},
      {u"Font", Variant(u"Arial"), kErrTypeMismatch},
      {u"Font", Variant::nothing(), kErrInvalidPropertyValue},
      {u"BackStyle", Variant(int16_t{3}), kErrInvalidPropertyValue},
      {u"BorderStyle", Variant(u"thin"), kErrTypeMismatch},
      {u"Shadow", Variant(int32_t{40000}), kErrOverflow},
      {u"Shadow", Variant(u"deep"), kErrTypeMismatch},
      {u"ShadowColor", Variant(-1e10), kErrOverflow},
      {u"Caption", Variant(make_font()), kErrTypeMismatch},
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
  }
}

TEST_F(QLabelPersistenceTest, ValuesOfOtherKindsThatLoadAlsoSaveBack) {
  struct Case {
    const char16_t* key;
    Variant stored;
    Variant saved;
  };
  const Case cases[] = {
      {u"Shadow", Variant(u"-7"), Variant(int16_t{-7})},
      {u"Shadow", Variant(2.5), Variant(int16_t{2})},
      {u"Caption", Variant(int32_t{42}), Variant(u"42")},
      {u"BackColor", Variant(2147483648.0), Variant(int32_t{INT32_MIN})},
      {u"Enabled", Variant(int16_t{0}), Variant(false)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.key));
    MemoryPropertyBag bag;
    bag.put(c.key, c.stored);
    auto restored = make_control();
    restored->ReadProperties(bag);
    MemoryPropertyBag out;
    restored->WriteProperties(out);
    ASSERT_TRUE(out.contains(c.key));
    EXPECT_TRUE(out.get(c.key).identical(c.saved)) << utf8(out.get(c.key).to_text());
  }
}

}  // namespace
}  // namespace qs::test
