// The property store's default rule and the in-memory bag.
#include "core/property_bag.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

TEST(PropertyBagTest, EqualsDefaultComparesByMeaning) {
  // Numbers of different kinds are equal by value.
  EXPECT_TRUE(equals_default(Variant(int16_t{0}), Variant(int32_t{0})));
  EXPECT_TRUE(equals_default(Variant(true), Variant(int16_t{-1})));
  EXPECT_TRUE(equals_default(Variant(2.5f), Variant(2.5)));
  EXPECT_FALSE(equals_default(Variant(int32_t{1}), Variant(int32_t{0})));
  // Texts compare exactly and never equal a number.
  EXPECT_TRUE(equals_default(Variant(u"LeftList"), Variant(u"LeftList")));
  EXPECT_FALSE(equals_default(Variant(u"leftlist"), Variant(u"LeftList")));
  EXPECT_FALSE(equals_default(Variant(u"0"), Variant(int32_t{0})));
  EXPECT_FALSE(equals_default(Variant(int32_t{0}), Variant(u"0")));
  // Empty equals only Empty.
  EXPECT_TRUE(equals_default(Variant(), Variant()));
  EXPECT_FALSE(equals_default(Variant(), Variant(int16_t{0})));
  EXPECT_FALSE(equals_default(Variant(u""), Variant()));
}

TEST(PropertyBagTest, ObjectsCompareByContent) {
  FontDesc bold;
  bold.weight = 700;
  EXPECT_TRUE(equals_default(Variant(make_font()), Variant(make_font())));
  EXPECT_FALSE(equals_default(Variant(make_font(bold)), Variant(make_font())));
  EXPECT_FALSE(equals_default(Variant(make_font()), Variant::nothing()));
  EXPECT_TRUE(equals_default(Variant::nothing(), Variant::nothing()));

  auto icon = std::make_shared<Picture>(Picture{PictureType::kIcon, 42, 100, 100});
  auto same = std::make_shared<Picture>(*icon);
  auto other = std::make_shared<Picture>(Picture{PictureType::kIcon, 43, 100, 100});
  EXPECT_TRUE(equals_default(Variant(icon), Variant(same)));
  EXPECT_FALSE(equals_default(Variant(icon), Variant(other)));
  EXPECT_FALSE(equals_default(Variant(icon), Variant::nothing()));
}

TEST(PropertyBagTest, StoresOnlyValuesThatDifferFromTheirDefaults) {
  MemoryPropertyBag bag;
  PropertyBag& store = bag;
  store.write(u"Enabled", Variant(true), Variant(true));
  store.write(u"Caption", Variant(u"Hello"), Variant(u""));
  store.write(u"BackColor", Variant(int32_t{255}), Variant(int32_t(0x8000000F)));
  EXPECT_FALSE(bag.contains(u"Enabled"));
  ASSERT_EQ(bag.entries().size(), 2u);
  EXPECT_EQ(bag.entries()[0].first, u"Caption");
  EXPECT_EQ(bag.entries()[1].first, u"BackColor");

  // Reading gives the stored value, or the default for a missing key.
  EXPECT_EQ(store.read(u"Caption", Variant(u"")).to_text(), u"Hello");
  Variant def(int16_t{7});
  EXPECT_TRUE(store.read(u"Missing", def).identical(def));

  // Re-writing keeps the first position; writing the default erases.
  store.write(u"Caption", Variant(u"Bye"), Variant(u""));
  EXPECT_EQ(bag.entries()[0].second.to_text(), u"Bye");
  store.write(u"Caption", Variant(u""), Variant(u""));
  EXPECT_FALSE(bag.contains(u"Caption"));
  EXPECT_EQ(bag.entries().size(), 1u);
  EXPECT_TRUE(store.read(u"Caption", Variant(u"dflt")).identical(Variant(u"dflt")));

  // A prepared value bypasses the rule and is read back as stored.
  bag.put(u"Enabled", Variant(true));
  EXPECT_TRUE(store.read(u"Enabled", Variant(false)).identical(Variant(true)));
  EXPECT_TRUE(bag.get(u"Nope").is_empty());
  bag.clear();
  EXPECT_TRUE(bag.entries().empty());
}

TEST(PropertyBagTest, StoredFontIsTheObjectWritten) {
  MemoryPropertyBag bag;
  FontDesc big;
  big.size = 12;
  FontRef font = make_font(big);
  bag.write(u"Font", Variant(font), Variant(make_font()));
  ASSERT_TRUE(bag.contains(u"Font"));
  EXPECT_EQ(bag.read(u"Font", Variant(make_font())).to_font(), font);
  bag.write(u"Font", Variant(make_font()), Variant(make_font()));
  EXPECT_FALSE(bag.contains(u"Font"));
}

TEST(PropertyBagTest, ErasingKeepsEveryOtherKeyAndItsPlace) {
  // Erase from the front, the middle and the end, then reuse a key: every
  // remaining key must still find its own value.
  MemoryPropertyBag bag;
  PropertyBag& store = bag;
  for (int32_t i = 0; i < 6; ++i) bag.put(std::u16string{u'K', char16_t(u'0' + i)}, Variant(i));
  for (const char16_t* gone : {u"K0", u"K3", u"K5"}) store.write(gone, Variant(), Variant());
  bag.put(u"K3", Variant(int32_t{33}));
  std::vector<std::u16string> keys;
  for (const auto& [key, value] : bag.entries()) {
    keys.push_back(key);
    EXPECT_TRUE(bag.get(key).identical(value)) << utf8(key);
  }
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"K1", u"K2", u"K4", u"K3"}));
  EXPECT_EQ(bag.get(u"K4").to_long(), 4);
  EXPECT_FALSE(bag.contains(u"K0"));
  EXPECT_FALSE(bag.contains(u"K5"));
  // A copy has its own index.
  MemoryPropertyBag copy = bag;
  bag.clear();
  EXPECT_EQ(copy.get(u"K3").to_long(), 33);
  EXPECT_FALSE(bag.contains(u"K3"));
  bag.put(u"K9", Variant(int32_t{9}));
  EXPECT_EQ(bag.entries().size(), 1u);
}

}  // namespace
}  // namespace qs
