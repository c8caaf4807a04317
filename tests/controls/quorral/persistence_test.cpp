// Quorral's new-instance values, its size, and save and restore with every
// key and default.
#include "platform/library_icon_file.h"
#include "tests/controls/quorral/quorral_fixture.h"

namespace qs::test {
namespace {

using QuorralPersistenceTest = QuorralTest;
using Texts = std::vector<std::u16string>;

Texts keys_of(const MemoryPropertyBag& bag) {
  Texts keys;
  for (const auto& [key, value] : bag.entries()) keys.push_back(key);
  return keys;
}

// A bag that records the keys read, in order.
class KeyLog final : public PropertyBag {
 public:
  explicit KeyLog(MemoryPropertyBag& source) : source_(source) {}
  Texts keys;

 protected:
  std::optional<Variant> load(std::u16string_view key) override {
    keys.emplace_back(key);
    return source_.lookup(key);
  }
  void store(std::u16string_view, const Variant&) override {}
  void erase(std::u16string_view) override {}

 private:
  MemoryPropertyBag& source_;
};

TEST_F(QuorralPersistenceTest, ANewInstanceStartsWithTheBuiltInIconAndNoPoll) {
  EXPECT_EQ(ctl->SysToolTip().to_text(), u"");
  EXPECT_TRUE(ctl->SysToolTip().is_string());
  EXPECT_EQ(ctl->MouseX().type(), VarType::kInteger);
  EXPECT_EQ(ctl->MouseY().type(), VarType::kInteger);
  EXPECT_EQ(ctl->MouseSensitivity().type(), VarType::kLong);
  EXPECT_EQ(ctl->MouseSensitivity().to_long(), 0);
  ASSERT_NE(ctl->MsgBoxPicture(), nullptr) << "an empty picture object, not nothing";
  EXPECT_EQ(ctl->MsgBoxPicture()->type, PictureType::kNone);
  ASSERT_NE(ctl->SysIcon(), nullptr);
  EXPECT_EQ(ctl->SysIcon()->type, PictureType::kIcon);
  EXPECT_NE(ctl->SysIcon()->handle, 0);
  EXPECT_FALSE(ctl->IconShown());
  EXPECT_EQ(ctl->Timer1().interval(), 0);
  // Image1 shows it at the top-left of the surface.
  EXPECT_EQ(ctl->Image1().picture(), ctl->SysIcon());
  EXPECT_EQ(ctl->Image1().bounds().left, 0);
  EXPECT_EQ(ctl->Image1().bounds().top, 0);
  auto other = std::make_shared<Picture>();
  ctl->set_SysIcon(other);
  EXPECT_EQ(ctl->Image1().picture(), other);
  EXPECT_EQ(host.changes, Texts{u"SysIcon"});
}

TEST(QuorralIconTest, TheBuiltInIconHoldsA16AndA256Colour32By32Image) {
  const std::span<const uint8_t> file = library_icon_file();
  auto u16 = [&](size_t at) { return unsigned(file[at] | file[at + 1] << 8); };
  ASSERT_GE(file.size(), 6u + 2 * 16);
  EXPECT_EQ(u16(2), 1u) << "an icon";
  ASSERT_EQ(u16(4), 2u) << "two images";
  struct Entry {
    unsigned width, height, colours, bits;
  };
  std::vector<Entry> entries;
  for (size_t i = 0; i < 2; ++i) {
    const size_t at = 6 + 16 * i;
    entries.push_back({file[at], file[at + 1], file[at + 2], u16(at + 6)});
  }
  EXPECT_EQ(entries[0].width, 32u);
  EXPECT_EQ(entries[0].height, 32u);
  EXPECT_EQ(entries[0].colours, 16u);
  EXPECT_EQ(entries[0].bits, 4u);
  EXPECT_EQ(entries[1].width, 32u);
  EXPECT_EQ(entries[1].colours, 0u) << "256 colours are written as 0";
  EXPECT_EQ(entries[1].bits, 8u);
  // Both platforms read it as a 32 x 32 icon.
  PictureRef decoded = decode_picture(file);
  EXPECT_EQ(decoded->type, PictureType::kIcon);
  EXPECT_EQ(decoded->pixel_width, 32);
  EXPECT_EQ(decoded->pixel_height, 32);
}

TEST_F(QuorralPersistenceTest, EveryResizeSnapsBackTo552Twips) {
  const float sizes[][2] = {{1000, 300}, {552, 2000}, {15, 15}, {0, 0}};
  // The real platform keeps whole pixels: 552 twips is 36.8 pixels there.
  const float slack = rig->headless() ? 0.0f : rig->platform().twips_per_pixel_x();
  for (const auto& s : sizes) {
    driver().resize(ctl->surface(), s[0], s[1]);
    EXPECT_NEAR(ctl->surface().scale_width(), 552, slack) << s[0] << " x " << s[1];
    EXPECT_NEAR(ctl->surface().scale_height(), 552, slack) << s[0] << " x " << s[1];
  }
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(QuorralPersistenceTest, SavingANewInstanceStoresOnlyItsIcon) {
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(keys_of(bag), Texts{u"SysIcon"});
  EXPECT_EQ(*bag.get(u"SysIcon").to_picture(), *ctl->SysIcon());
}

TEST_F(QuorralPersistenceTest, EveryKeyIsWrittenInOrderAndReadBackInOrderWithoutNotifying) {
  auto picture = std::make_shared<Picture>(Picture{PictureType::kBitmap, 0x1234, 100, 200});
  ctl->set_SysToolTip(Variant(int32_t{42}));
  ctl->set_MouseX(Variant(u"left"));
  ctl->set_MouseY(Variant(int32_t{-7}));
  ctl->set_MouseSensitivity(Variant(int32_t{75}));
  ctl->set_MsgBoxPicture(picture);
  EXPECT_EQ(host.changes, (Texts{u"SysToolTip", u"MouseX", u"MouseY", u"MouseSensitivity",
                                 u"MsgBoxPicture"}));
  MemoryPropertyBag bag;
  ctl->WriteProperties(bag);
  EXPECT_EQ(keys_of(bag), (Texts{u"SysToolTip", u"SysIcon", u"MouseX", u"MouseY",
                                 u"MouseSensitivity", u"MsgBoxPicture"}));
  EXPECT_EQ(bag.get(u"SysToolTip").type(), VarType::kLong) << "a Variant is stored unchanged";
  EXPECT_EQ(bag.get(u"MouseSensitivity").type(), VarType::kLong);

  host.reset();
  auto restored = make_control();
  KeyLog log(bag);
  restored->ReadProperties(log);
  EXPECT_EQ(log.keys, (Texts{u"SysToolTip", u"SysIcon", u"MouseX", u"MouseY",
                             u"MouseSensitivity", u"MsgBoxPicture"}));
  EXPECT_TRUE(restored->SysToolTip().identical(Variant(int32_t{42})));
  EXPECT_EQ(*restored->SysIcon(), *ctl->SysIcon());
  EXPECT_EQ(restored->MouseX().to_text(), u"left");
  EXPECT_EQ(restored->MouseY().to_long(), -7);
  EXPECT_EQ(restored->MouseSensitivity().to_long(), 75);
  EXPECT_EQ(restored->Timer1().interval(), 75) << "run mode starts the poll";
  EXPECT_EQ(*restored->MsgBoxPicture(), *picture);
  EXPECT_TRUE(host.changes.empty());
  EXPECT_TRUE(host.events.empty());

  MemoryPropertyBag again;
  restored->WriteProperties(again);
  EXPECT_EQ(again.entries().size(), bag.entries().size());
}

TEST_F(QuorralPersistenceTest, AnEmptyBagGivesNoIconAndNoMessageBoxPicture) {
  MemoryPropertyBag empty;
  auto restored = make_control();
  restored->ReadProperties(empty);
  EXPECT_EQ(restored->SysIcon(), nullptr);
  EXPECT_EQ(restored->MsgBoxPicture(), nullptr);
  EXPECT_EQ(restored->SysToolTip().to_text(), u"");
  EXPECT_EQ(restored->MouseX().type(), VarType::kInteger);
  EXPECT_EQ(restored->Timer1().interval(), 0);
  MemoryPropertyBag saved;
  restored->WriteProperties(saved);
  EXPECT_TRUE(saved.entries().empty());
}

TEST_F(QuorralPersistenceTest, ARefusedRestoreChangesNothing) {
  struct Case {
    const char* key;
    Variant value;
    int32_t error;
  };
  const Case cases[] = {
      {"MouseSensitivity", Variant(int32_t{65536}), kErrInvalidPropertyValue},
      {"MouseSensitivity", Variant(u"x"), kErrTypeMismatch},
      {"SysIcon", Variant(int32_t{3}), kErrTypeMismatch},
      {"MsgBoxPicture", Variant(u"pic"), kErrTypeMismatch},
      // Plain values only: an object could not be streamed back as it was.
      {"SysToolTip", Variant(make_font()), kErrTypeMismatch},
      {"MouseX", Variant(std::make_shared<Picture>()), kErrTypeMismatch},
      {"MouseY", Variant(make_font()), kErrTypeMismatch},
  };
  ctl->set_SysToolTip(Variant(u"kept"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    MemoryPropertyBag bag;
    bag.put(u"SysToolTip", Variant(u"new"));
    bag.put(utf16(c.key), c.value);
    EXPECT_EQ(error_of([&] { ctl->ReadProperties(bag); }), c.error);
    EXPECT_EQ(ctl->SysToolTip().to_text(), u"kept");
    EXPECT_NE(ctl->SysIcon(), nullptr);
    EXPECT_EQ(ctl->Timer1().interval(), 0);
  }
}

TEST_F(QuorralPersistenceTest, InDesignModeAnyStoredSensitivityIsAcceptedAndWrittenBack) {
  RecordingHost designer;
  designer.run_mode = false;
  MemoryPropertyBag bag;
  bag.put(u"MouseSensitivity", Variant(int32_t{100000}));
  auto restored = make_control(&designer);
  restored->ReadProperties(bag);
  EXPECT_EQ(restored->Timer1().interval(), 0);
  MemoryPropertyBag saved;
  restored->WriteProperties(saved);
  EXPECT_EQ(saved.get(u"MouseSensitivity").to_long(), 100000);
}

}  // namespace
}  // namespace qs::test
