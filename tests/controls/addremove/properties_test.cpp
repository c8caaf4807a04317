// Per-item members, the add and remove methods, and the appearance
// properties with their change notifications.
#include "tests/controls/addremove/addremove_fixture.h"

namespace qs::test {
namespace {

using PropertiesTest = AddRemoveTest;

TEST_F(PropertiesTest, IndexedMembersReadAndWriteItemsAndNotifyUnderTheirNames) {
  fill({u"A", u"B"}, {u"C"});
  ctl->set_Llist(1, u"B2");
  ctl->set_LItemData(1, -5);
  ctl->set_RList(0, u"C2");
  ctl->set_RItemData(0, 2147483647);
  EXPECT_EQ(ctl->Llist(1), u"B2");
  EXPECT_EQ(ctl->LItemData(1), -5);
  EXPECT_EQ(ctl->LItemData(0), 0);
  EXPECT_EQ(ctl->RList(0), u"C2");
  EXPECT_EQ(ctl->RItemData(0), 2147483647);
  EXPECT_EQ(host.changes, (Texts{u"Llist", u"LItemData", u"RList", u"RItemData"}));
}

TEST_F(PropertiesTest, IndexedMembersOutOfRangeFailWithoutNotifying) {
  fill({u"A"}, {});
  EXPECT_EQ(error_of([&] { ctl->Llist(1); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { ctl->set_Llist(-1, u"x"); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { ctl->LItemData(5); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { ctl->set_LItemData(1, 3); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { ctl->RList(0); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { ctl->set_RList(0, u"x"); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { ctl->set_RItemData(0, 1); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { ctl->LRemoveItem(1); }), kErrInvalidCall);
  EXPECT_EQ(error_of([&] { ctl->RRemoveItem(0); }), kErrInvalidCall);
  EXPECT_EQ(items(ctl->List1()), (Texts{u"A"}));
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(PropertiesTest, AddItemAppendsOrInsertsAtTheConvertedIndex) {
  ctl->LAddItem(u"A");
  ctl->LAddItem(u"B");
  ctl->LAddItem(u"top", Variant(int16_t{0}));
  ctl->LAddItem(u"mid", Variant(u"2"));
  // 1.5 rounds to the even neighbour 2.
  ctl->LAddItem(u"half", Variant(1.5));
  EXPECT_EQ(items(ctl->List1()), (Texts{u"top", u"A", u"half", u"mid", u"B"}));
  EXPECT_EQ(item_data(ctl->List1()), (std::vector<int32_t>{0, 0, 0, 0, 0}));

  ctl->RAddItem(u"R");
  ctl->RAddItem(u"end", Variant(int32_t{1}));
  EXPECT_EQ(items(ctl->List2()), (Texts{u"R", u"end"}));

  EXPECT_EQ(error_of([&] { ctl->LAddItem(u"x", Variant(int32_t{40000})); }), kErrOverflow);
  EXPECT_EQ(error_of([&] { ctl->LAddItem(u"x", Variant(u"two")); }), kErrTypeMismatch);
  EXPECT_EQ(error_of([&] { ctl->RAddItem(u"x", Variant(int16_t{3})); }), kErrInvalidCall);
  EXPECT_EQ(ctl->List1().list_count(), 5);
  EXPECT_EQ(ctl->List2().list_count(), 2);
  EXPECT_TRUE(host.changes.empty());
  EXPECT_TRUE(host.events.empty());
}

TEST_F(PropertiesTest, ColoursReachTheSurfaceAndBothTitles) {
  ctl->set_BackColor(rgb(10, 20, 30));
  ctl->set_ForeColor(0x80000008u);
  EXPECT_EQ(ctl->BackColor(), rgb(10, 20, 30));
  EXPECT_EQ(ctl->surface().back_color(), rgb(10, 20, 30));
  EXPECT_EQ(ctl->LeftCap().back_color(), rgb(10, 20, 30));
  EXPECT_EQ(ctl->RightCap().back_color(), rgb(10, 20, 30));
  EXPECT_EQ(ctl->ForeColor(), 0x80000008u);
  EXPECT_EQ(ctl->LeftCap().fore_color(), 0x80000008u);
  EXPECT_EQ(ctl->RightCap().fore_color(), 0x80000008u);
  EXPECT_EQ(host.changes, (Texts{u"BackColor", u"ForeColor"}));
}

TEST_F(PropertiesTest, SurfacePropertiesNotifyOnceAndRejectBadValues) {
  FontRef font = make_font(FontDesc{u"Arial", 12, 700});
  ctl->set_Font(font);
  ctl->set_BackStyle(1);
  ctl->set_BorderStyle(1);
  ctl->set_Enabled(false);
  EXPECT_EQ(ctl->Font(), font);
  EXPECT_EQ(ctl->surface().font(), font);
  EXPECT_NE(ctl->List1().font(), font);
  EXPECT_NE(ctl->cmdAdd().font(), font);
  EXPECT_NE(ctl->LeftCap().font(), font);
  EXPECT_EQ(ctl->BackStyle(), 1);
  EXPECT_EQ(ctl->BorderStyle(), 1);
  EXPECT_FALSE(ctl->Enabled());
  EXPECT_FALSE(ctl->surface().enabled());
  EXPECT_EQ(host.changes, (Texts{u"Font", u"BackStyle", u"BorderStyle", u"Enabled"}));

  host.reset();
  EXPECT_EQ(error_of([&] { ctl->set_BackStyle(2); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { ctl->set_BorderStyle(-1); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { ctl->set_Font(nullptr); }), kErrInvalidPropertyValue);
  EXPECT_EQ(ctl->BackStyle(), 1);
  EXPECT_EQ(ctl->BorderStyle(), 1);
  EXPECT_EQ(ctl->Font(), font);
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(PropertiesTest, InitialisationTakesTheAmbientFont) {
  host.ambient = make_font(FontDesc{u"Tahoma", 9});
  auto other = make_control();
  other->InitProperties();
  EXPECT_EQ(other->Font(), host.ambient);
  EXPECT_EQ(other->Orientation(), qrLeftToRight);
  EXPECT_TRUE(other->ShowTitles());
  EXPECT_EQ(other->LTitle(), u"List1");
  EXPECT_EQ(other->RTitle(), u"List2");
  EXPECT_EQ(other->LeftCap().back_color(), kColorButtonFace);
  EXPECT_EQ(other->LeftCap().fore_color(), kColorButtonText);
  other->Refresh();
  EXPECT_TRUE(host.changes.empty());
}

}  // namespace
}  // namespace qs::test
