// ShapeButton's save and restore: the keys in order with their defaults,
// the one notification of a restore, a restored Value that leaves the latch
// empty, and stored values of the wrong kind.
#include "tests/controls/shapebutton/shapebutton_fixture.h"

namespace qs::test {
namespace {

using ShapeButtonPersistenceTest = ShapeButtonTest;

Texts keys_of(const MemoryPropertyBag& bag) {
  Texts keys;
  for (const auto& [key, value] : bag.entries()) keys.push_back(key);
  return keys;
}

// A bag that records the keys read, in order.
class ReadLog : public MemoryPropertyBag {
 public:
  Texts reads;

 protected:
  std::optional<Variant> load(std::u16string_view key) override {
    reads.emplace_back(key);
    return MemoryPropertyBag::load(key);
  }
};

const Texts kAllKeys = {u"BackColor",   u"ForeColor", u"Enabled",        u"Font",
                        u"ButtonShape", u"Style",     u"BevelWidth",     u"PictureUp",
                        u"PictureDown", u"ClickBehaviour", u"Caption",   u"Alignment",
                        u"Value",       u"ToolTipText"};

TEST_F(ShapeButtonPersistenceTest, ANewInstanceDiffersFromTheStoreOnlyInItsDesignValues) {
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  // Label1's design alignment (centred) differs from the stored default 0,
  // and the empty picture objects differ from no picture.
  EXPECT_EQ(keys_of(bag), (Texts{u"PictureUp", u"PictureDown", u"Alignment"}));
  EXPECT_EQ(bag.get(u"Alignment").to_integer(), 2);
  EXPECT_EQ(bag.get(u"Alignment").type(), VarType::kInteger);
  // Restoring that set gives the same save.
  auto restored = make_control();
  restored->ReadProperties(bag);
  MemoryPropertyBag again;
  restored->WriteProperties(again);
  EXPECT_EQ(keys_of(again), keys_of(bag));
}

TEST_F(ShapeButtonPersistenceTest, EveryKeyIsWrittenInOrderReadInOrderAndRestored) {
  FontRef font = make_font(FontDesc{u"Arial", 12, 700});
  auto up = std::make_shared<Picture>(Picture{PictureType::kBitmap, 0, 100, 200});
  auto down = std::make_shared<Picture>(Picture{PictureType::kIcon, 0, 300, 400});
  ctl->set_BackColor(rgb(1, 2, 3));
  ctl->set_ForeColor(rgb(4, 5, 6));
  ctl->set_Enabled(false);
  ctl->set_Font(font);
  ctl->set_ButtonShape(Star);
  ctl->set_Style(CheckBox);
  ctl->set_BevelWidth(4);
  ctl->set_PictureUp(up);
  ctl->set_PictureDown(down);
  ctl->set_ClickBehaviour(InvertColor);
  ctl->set_Caption(u"Go");
  ctl->set_Alignment(alRight);
  ctl->set_Value(true);
  ctl->set_ToolTipText(u"Starts it");
  EXPECT_EQ(host.changes, kAllKeys);

  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(keys_of(bag), kAllKeys);
  // The enumerations are stored as 32-bit values, the 16-bit ones as such.
  EXPECT_EQ(bag.get(u"ButtonShape").type(), VarType::kLong);
  EXPECT_EQ(bag.get(u"BevelWidth").type(), VarType::kInteger);
  EXPECT_EQ(bag.get(u"Value").type(), VarType::kBoolean);

  ReadLog log;
  for (const auto& [key, value] : bag.entries()) log.put(key, value);
  host.reset();
  auto restored = make_control();
  restored->ReadProperties(log);
  Texts expected_reads = kAllKeys;
  expected_reads.insert(expected_reads.begin() + 8, u"PictureUp");
  EXPECT_EQ(log.reads, expected_reads);
  // Only the PictureUp setter notifies during a restore.
  EXPECT_EQ(host.changes, Texts{u"PictureUp"});

  EXPECT_EQ(restored->BackColor(), rgb(1, 2, 3));
  EXPECT_EQ(restored->ForeColor(), rgb(4, 5, 6));
  EXPECT_FALSE(restored->Enabled());
  EXPECT_EQ(restored->Font()->desc(), font->desc());
  EXPECT_EQ(restored->ButtonShape(), Star);
  EXPECT_EQ(restored->Style(), CheckBox);
  EXPECT_EQ(restored->BevelWidth(), 4);
  EXPECT_EQ(restored->PictureUp(), up);
  EXPECT_EQ(restored->PictureDown(), down);
  EXPECT_EQ(restored->ClickBehaviour(), InvertColor);
  EXPECT_EQ(restored->Caption(), u"Go");
  EXPECT_EQ(restored->Alignment(), alRight);
  EXPECT_TRUE(restored->Value());
  EXPECT_EQ(restored->Image1().picture(), restored->PictureUp());
  // The tooltip is restored to Image1 only.
  EXPECT_EQ(restored->ToolTipText(), u"Starts it");
  EXPECT_EQ(restored->Label1().tool_tip_text(), u"");

  MemoryPropertyBag again;
  restored->WriteProperties(again);
  EXPECT_EQ(keys_of(again), kAllKeys);
}

TEST_F(ShapeButtonPersistenceTest, ARestoredCheckBoxWithValueTrueHasAnEmptyLatch) {
  MemoryPropertyBag bag;
  bag.put(u"Style", Variant(int32_t{CheckBox}));
  bag.put(u"Value", Variant(true));
  auto restored = make_control();
  restored->ReadProperties(bag);
  EXPECT_TRUE(restored->Value());
  EXPECT_TRUE(restored->ToggleLatch().is_empty());
  EXPECT_EQ(restored->PressState(), 3);
  driver().resize(restored->surface(), 1785, 1545);
  driver().click(restored->Label1());
  EXPECT_TRUE(restored->Value());
  EXPECT_EQ(restored->ToggleLatch().to_integer(), 1);
  driver().click(restored->Label1());
  EXPECT_FALSE(restored->Value());
}

TEST_F(ShapeButtonPersistenceTest, AnEmptyBagGivesTheStoreDefaults) {
  MemoryPropertyBag bag;
  auto restored = make_control();
  restored->ReadProperties(bag);
  EXPECT_EQ(restored->BevelWidth(), 2);
  EXPECT_EQ(restored->Alignment(), alLeft);
  EXPECT_EQ(restored->Caption(), u"Label1");
  EXPECT_EQ(restored->PictureUp(), nullptr);
  EXPECT_EQ(restored->ToolTipText(), u"");
  EXPECT_FALSE(restored->Value());
}

TEST_F(ShapeButtonPersistenceTest, StoredValuesOfTheWrongKindFail) {
  struct Case {
    const char* key;
    Variant value;
    int32_t error;
  };
  const Case cases[] = {
      {"BevelWidth", Variant(int32_t{40000}), kErrOverflow},
      {"BevelWidth", Variant(u"wide"), kErrTypeMismatch},
      {"ButtonShape", Variant(u"star"), kErrTypeMismatch},
      {"Alignment", Variant(int16_t{3}), kErrInvalidPropertyValue},
      {"Alignment", Variant(int32_t{70000}), kErrOverflow},
      {"PictureUp", Variant(int16_t{1}), kErrTypeMismatch},
      {"Value", Variant(u"maybe"), kErrTypeMismatch},
      {"Font", Variant::nothing(), kErrInvalidPropertyValue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    MemoryPropertyBag bag;
    std::u16string key(c.key, c.key + std::char_traits<char>::length(c.key));
    bag.put(key, c.value);
    auto restored = make_control();
    EXPECT_EQ(error_of([&] { restored->ReadProperties(bag); }), c.error);
    EXPECT_FALSE(restored->MouseBusy());
  }
  EXPECT_EQ(regions().live_regions(), 0);
}

TEST_F(ShapeButtonPersistenceTest, SettersStoreAnyValueAndAlignmentChecksItsRange) {
  ctl->set_ButtonShape(-1);
  ctl->set_Style(123456);
  ctl->set_ClickBehaviour(99);
  ctl->set_BevelWidth(-3);
  EXPECT_EQ(ctl->ButtonShape(), -1);
  EXPECT_EQ(ctl->Style(), 123456);
  EXPECT_EQ(ctl->ClickBehaviour(), 99);
  EXPECT_EQ(ctl->BevelWidth(), -3);
  host.reset();
  EXPECT_EQ(error_of([&] { ctl->set_Alignment(40000); }), kErrOverflow);
  EXPECT_EQ(error_of([&] { ctl->set_Alignment(5); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { ctl->set_Font(nullptr); }), kErrInvalidPropertyValue);
  EXPECT_EQ(host.changes, Texts{});
  EXPECT_EQ(ctl->Alignment(), alCenter);
}

}  // namespace
}  // namespace qs::test
