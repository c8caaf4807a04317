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

}  // namespace
}  // namespace qs
