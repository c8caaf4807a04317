// The child elements, the selection rule, the four transfer commands, the
// double-click rule and the button states they leave.
#include "tests/controls/addremove/addremove_fixture.h"

namespace qs::test {
namespace {

using TransferTest = AddRemoveTest;

TEST_F(TransferTest, ChildElementsStartWithCaptionsStateAndTabOrder) {
  Surface& s = ctl->surface();
  EXPECT_EQ(s.find(u"List2"), &ctl->List2());
  EXPECT_EQ(s.find(u"cmdRemoveAll"), &ctl->cmdRemoveAll());
  EXPECT_EQ(s.find(u"cmdRemove"), &ctl->cmdRemove());
  EXPECT_EQ(s.find(u"cmdAddAll"), &ctl->cmdAddAll());
  EXPECT_EQ(s.find(u"cmdAdd"), &ctl->cmdAdd());
  EXPECT_EQ(s.find(u"List1"), &ctl->List1());
  EXPECT_EQ(s.find(u"RightCap"), &ctl->RightCap());
  EXPECT_EQ(s.find(u"LeftCap"), &ctl->LeftCap());

  EXPECT_EQ(ctl->cmdAdd().caption(), u"<");
  EXPECT_EQ(ctl->cmdAddAll().caption(), u"<<");
  EXPECT_EQ(ctl->cmdRemove().caption(), u">");
  EXPECT_EQ(ctl->cmdRemoveAll().caption(), u">>");
  EXPECT_EQ(ctl->LeftCap().caption(), u"List1");
  EXPECT_EQ(ctl->RightCap().caption(), u"List2");
  EXPECT_TRUE(ctl->LeftCap().visible());
  EXPECT_TRUE(ctl->RightCap().visible());
  EXPECT_EQ(buttons(), (Flags{false, false, false, false}));
  EXPECT_EQ(ctl->List1().list_count(), 0);
  EXPECT_EQ(ctl->List2().list_count(), 0);

  EXPECT_EQ(ctl->List1().tab_index(), 0);
  EXPECT_EQ(ctl->cmdAdd().tab_index(), 1);
  EXPECT_EQ(ctl->cmdAddAll().tab_index(), 2);
  EXPECT_EQ(ctl->cmdRemove().tab_index(), 3);
  EXPECT_EQ(ctl->cmdRemoveAll().tab_index(), 4);
  EXPECT_EQ(ctl->List2().tab_index(), 5);
  EXPECT_EQ(ctl->LeftCap().tab_index(), 6);
  EXPECT_EQ(ctl->RightCap().tab_index(), 7);

  for (Element* b : {static_cast<Element*>(&ctl->cmdAdd()), static_cast<Element*>(&ctl->cmdAddAll()),
                     static_cast<Element*>(&ctl->cmdRemove()),
                     static_cast<Element*>(&ctl->cmdRemoveAll())}) {
    EXPECT_EQ(b->bounds().width, 330) << utf8(b->name());
    EXPECT_EQ(b->bounds().height, 330) << utf8(b->name());
  }
  EXPECT_EQ(ctl->LeftCap().bounds().height, 225);
  EXPECT_EQ(ctl->RightCap().bounds().height, 225);
}

TEST_F(TransferTest, SelectingAnItemEnablesOnlyTheSingleMoveTowardsTheOtherList) {
  fill({u"X", u"Y"}, {u"A", u"B"});
  driver().click_item(ctl->List2(), 1);
  EXPECT_EQ(ctl->List2().list_index(), 1);
  EXPECT_EQ(buttons(), (Flags{true, false, false, false}));
  driver().click_item(ctl->List1(), 0);
  EXPECT_EQ(buttons(), (Flags{true, false, true, false}));
  EXPECT_EQ(changes(), 0);
}

TEST_F(TransferTest, AddMovesTheSelectedRightItemAndReselectsTheFirst) {
  fill({u"X"}, {u"A", u"B", u"C"});
  ctl->set_RItemData(1, 7);
  host.reset();
  driver().click_item(ctl->List2(), 1);
  driver().click(ctl->cmdAdd());

  EXPECT_EQ(items(ctl->List1()), (Texts{u"X", u"B"}));
  EXPECT_EQ(item_data(ctl->List1()), (std::vector<int32_t>{0, 7}));
  EXPECT_EQ(items(ctl->List2()), (Texts{u"A", u"C"}));
  EXPECT_EQ(ctl->List2().list_index(), 0);
  // Re-selection enabled "<" again; "<<" was never enabled and stays so.
  EXPECT_EQ(buttons(), (Flags{true, false, false, true}));
  EXPECT_EQ(changes(), 1);
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(TransferTest, AddOfTheLastRightItemDisablesBothLeftwardButtons) {
  fill({}, {u"A"});
  // A move to the right first, so "<<" is enabled and its disabling shows.
  ctl->LAddItem(u"X");
  driver().click_item(ctl->List1(), 0);
  driver().click(ctl->cmdRemove());
  ASSERT_EQ(buttons(), (Flags{false, true, false, false}));
  ASSERT_EQ(items(ctl->List2()), (Texts{u"A", u"X"}));

  driver().click_item(ctl->List2(), 0);
  driver().click(ctl->cmdAdd());
  EXPECT_EQ(buttons(), (Flags{true, true, false, true}));  // "X" re-selected
  driver().click(ctl->cmdAdd());  // "X" was re-selected
  EXPECT_EQ(items(ctl->List1()), (Texts{u"A", u"X"}));
  EXPECT_EQ(ctl->List2().list_count(), 0);
  EXPECT_EQ(buttons(), (Flags{false, false, false, true}));
  EXPECT_EQ(changes(), 3);
}

TEST_F(TransferTest, RemoveIsTheMirrorOfAdd) {
  fill({u"A", u"B", u"C"}, {u"Z"});
  ctl->set_LItemData(2, 9);
  driver().click_item(ctl->List1(), 2);
  driver().click(ctl->cmdRemove());
  EXPECT_EQ(items(ctl->List1()), (Texts{u"A", u"B"}));
  EXPECT_EQ(items(ctl->List2()), (Texts{u"Z", u"C"}));
  EXPECT_EQ(item_data(ctl->List2()), (std::vector<int32_t>{0, 9}));
  EXPECT_EQ(ctl->List1().list_index(), 0);
  EXPECT_EQ(buttons(), (Flags{false, true, true, false}));

  // Enable ">>" through a move in the other direction, then empty the left list.
  driver().click_item(ctl->List2(), 0);
  driver().click(ctl->cmdAdd());
  ASSERT_TRUE(ctl->cmdRemoveAll().enabled());
  EXPECT_EQ(items(ctl->List1()), (Texts{u"A", u"B", u"Z"}));
  for (int i = 0; i < 3; ++i) driver().click(ctl->cmdRemove());
  EXPECT_EQ(ctl->List1().list_count(), 0);
  EXPECT_EQ(items(ctl->List2()), (Texts{u"C", u"A", u"B", u"Z"}));
  EXPECT_EQ(buttons(), (Flags{true, true, false, false}));
  EXPECT_EQ(changes(), 5);
}

TEST_F(TransferTest, MoveAllAppendsEveryItemInOrderAndSetsTheButtons) {
  fill({u"X"}, {u"A", u"B"});
  ctl->set_RItemData(0, 4);
  // "<<" only becomes clickable after a move to the right.
  driver().click_item(ctl->List1(), 0);
  driver().click(ctl->cmdRemove());
  ASSERT_EQ(items(ctl->List2()), (Texts{u"A", u"B", u"X"}));
  driver().click_item(ctl->List2(), 2);
  ASSERT_EQ(buttons(), (Flags{true, true, false, false}));

  driver().click(ctl->cmdAddAll());
  EXPECT_EQ(items(ctl->List1()), (Texts{u"A", u"B", u"X"}));
  EXPECT_EQ(item_data(ctl->List1()), (std::vector<int32_t>{4, 0, 0}));
  EXPECT_EQ(ctl->List2().list_count(), 0);
  EXPECT_EQ(buttons(), (Flags{false, false, false, true}));

  ctl->RAddItem(u"Q");
  driver().click_item(ctl->List1(), 1);
  driver().click(ctl->cmdRemoveAll());
  EXPECT_EQ(ctl->List1().list_count(), 0);
  EXPECT_EQ(items(ctl->List2()), (Texts{u"Q", u"A", u"B", u"X"}));
  EXPECT_EQ(buttons(), (Flags{false, true, false, false}));
  EXPECT_EQ(changes(), 3);
}

TEST_F(TransferTest, MoveAllOfAnEmptyListStillSetsButtonsAndRaisesChange) {
  fill({u"X"}, {});
  driver().click_item(ctl->List1(), 0);
  driver().click(ctl->cmdRemove());
  ASSERT_EQ(buttons(), (Flags{false, true, false, false}));
  ctl->RRemoveItem(0);

  driver().click(ctl->cmdAddAll());
  EXPECT_EQ(ctl->List1().list_count(), 0);
  EXPECT_EQ(ctl->List2().list_count(), 0);
  EXPECT_EQ(buttons(), (Flags{false, false, false, true}));
  EXPECT_EQ(changes(), 2);
}

TEST_F(TransferTest, SingleMoveWithoutSelectionAppendsNothing) {
  fill({u"X", u"Y"}, {u"A", u"B"});
  driver().click_item(ctl->List1(), 0);
  driver().click(ctl->cmdRemove());  // enables "<<"
  ASSERT_EQ(items(ctl->List2()), (Texts{u"A", u"B", u"X"}));
  driver().click_item(ctl->List2(), 1);
  ctl->RRemoveItem(1);  // the selected item goes; "<" stays enabled
  ASSERT_EQ(ctl->List2().list_index(), -1);
  ASSERT_TRUE(ctl->cmdAdd().enabled());
  host.events.clear();

  driver().click(ctl->cmdAdd());
  EXPECT_EQ(items(ctl->List1()), (Texts{u"Y"}));
  EXPECT_EQ(items(ctl->List2()), (Texts{u"A", u"X"}));
  EXPECT_EQ(ctl->List2().list_index(), 0);
  // The failed remove disables "<<"; re-selection enabled "<"; ">>" enabled.
  EXPECT_EQ(buttons(), (Flags{true, false, true, true}));
  EXPECT_EQ(changes(), 1);

  // The mirror: ">" with nothing selected on the left.
  ctl->LRemoveItem(0);
  ctl->LAddItem(u"L");
  ASSERT_EQ(ctl->List1().list_index(), -1);
  ASSERT_TRUE(ctl->cmdRemove().enabled());
  driver().click(ctl->cmdRemove());
  EXPECT_EQ(items(ctl->List1()), (Texts{u"L"}));
  EXPECT_EQ(items(ctl->List2()), (Texts{u"A", u"X"}));
  EXPECT_EQ(buttons(), (Flags{true, true, true, false}));
  EXPECT_EQ(changes(), 2);
}

TEST_F(TransferTest, DoubleClickMovesTheItemOnlyWhileItsButtonIsEnabled) {
  fill({u"X", u"Y"}, {u"A", u"B"});
  driver().double_click_item(ctl->List2(), 1);
  EXPECT_EQ(items(ctl->List1()), (Texts{u"X", u"Y", u"B"}));
  EXPECT_EQ(items(ctl->List2()), (Texts{u"A"}));
  driver().double_click_item(ctl->List1(), 0);
  EXPECT_EQ(items(ctl->List1()), (Texts{u"Y", u"B"}));
  EXPECT_EQ(items(ctl->List2()), (Texts{u"A", u"X"}));
  EXPECT_EQ(changes(), 2);
}

TEST_F(TransferTest, DisabledControlIgnoresClicksAndDoubleClicks) {
  fill({u"X", u"Y"}, {u"A", u"B"});
  driver().click_item(ctl->List1(), 0);
  driver().click_item(ctl->List2(), 0);
  driver().click(ctl->cmdRemove());  // enables "<<"
  driver().click_item(ctl->List1(), 0);
  ASSERT_EQ(buttons(), (Flags{true, true, true, false}));
  const Texts left = items(ctl->List1()), right = items(ctl->List2());
  host.events.clear();

  ctl->set_Enabled(false);
  driver().click(ctl->cmdAdd());
  driver().click(ctl->cmdAddAll());
  driver().click(ctl->cmdRemove());
  driver().double_click_item(ctl->List1(), 0);
  driver().double_click_item(ctl->List2(), 1);
  driver().click_item(ctl->List2(), 1);
  EXPECT_EQ(items(ctl->List1()), left);
  EXPECT_EQ(items(ctl->List2()), right);
  EXPECT_EQ(changes(), 0);

  ctl->set_Enabled(true);
  driver().click(ctl->cmdAddAll());
  EXPECT_EQ(ctl->List2().list_count(), 0);
  EXPECT_EQ(changes(), 1);
}

// Every way of moving items carries each item's data with its text, whatever
// its position in the source list, and leaves the data of the items that stay.
TEST_F(TransferTest, EveryTransferCarriesItemDataWithTheText) {
  enum Way { kAdd, kAddAll, kRemove, kRemoveAll, kDoubleClickLeft, kDoubleClickRight };
  struct Case {
    const char* name;
    Way way;
    int item;  // the item selected (or double-clicked) first
    Texts left, right;
    std::vector<int32_t> left_data, right_data;
  };
  const Case cases[] = {
      {"<", kAdd, 1, {u"L0", u"L1", u"A1"}, {u"R0", u"R2"}, {-1, 2, 11}, {10, 12}},
      {"<<", kAddAll, 0, {u"L0", u"L1", u"R0", u"A1", u"R2"}, {}, {-1, 2, 10, 11, 12}, {}},
      {">", kRemove, 0, {u"L1"}, {u"R0", u"A1", u"R2", u"L0"}, {2}, {10, 11, 12, -1}},
      {">>", kRemoveAll, 1, {}, {u"R0", u"A1", u"R2", u"L0", u"L1"}, {}, {10, 11, 12, -1, 2}},
      {"double-click left", kDoubleClickLeft, 1, {u"L0"}, {u"R0", u"A1", u"R2", u"L1"},
       {-1}, {10, 11, 12, 2}},
      {"double-click right", kDoubleClickRight, 2, {u"L0", u"L1", u"R2"}, {u"R0", u"A1"},
       {-1, 2, 12}, {10, 11}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    fill({u"L0", u"L1"}, {u"R0", u"A1", u"R2"});
    for (int16_t i = 0; int32_t d : {-1, 2}) ctl->set_LItemData(i++, d);
    for (int16_t i = 0; int32_t d : {10, 11, 12}) ctl->set_RItemData(i++, d);
    // Both move-all buttons are enabled only after a move each way: "A1"
    // goes right and comes back, so it ends as the right list's second item.
    driver().click_item(ctl->List2(), 1);
    driver().click(ctl->cmdAdd());
    driver().click_item(ctl->List1(), 2);
    driver().click(ctl->cmdRemove());
    ASSERT_EQ(items(ctl->List2()), (Texts{u"R0", u"R2", u"A1"}));
    ctl->RRemoveItem(2);
    ctl->RAddItem(u"A1", Variant(int16_t{1}));
    ctl->set_RItemData(1, 11);
    ASSERT_EQ(item_data(ctl->List2()), (std::vector<int32_t>{10, 11, 12}));
    ASSERT_EQ(buttons(), (Flags{true, true, true, true}));

    switch (c.way) {
      case kAdd:
        driver().click_item(ctl->List2(), c.item);
        driver().click(ctl->cmdAdd());
        break;
      case kAddAll: driver().click(ctl->cmdAddAll()); break;
      case kRemove:
        driver().click_item(ctl->List1(), c.item);
        driver().click(ctl->cmdRemove());
        break;
      case kRemoveAll: driver().click(ctl->cmdRemoveAll()); break;
      case kDoubleClickLeft: driver().double_click_item(ctl->List1(), c.item); break;
      case kDoubleClickRight: driver().double_click_item(ctl->List2(), c.item); break;
    }
    EXPECT_EQ(items(ctl->List1()), c.left);
    EXPECT_EQ(items(ctl->List2()), c.right);
    EXPECT_EQ(item_data(ctl->List1()), c.left_data);
    EXPECT_EQ(item_data(ctl->List2()), c.right_data);
    EXPECT_EQ(changes(), 3);
  }
}

// A move-all appends below the target's items without moving its selection;
// the items and selection left there are those a one-by-one move would leave.
TEST_F(TransferTest, MoveAllKeepsTheTargetSelectionAndMovesLargeListsWhole) {
  const int n = 3000;
  for (int i = 0; i < n; ++i) ctl->LAddItem(u"item" + utf16(std::to_string(i)));
  for (int16_t i = 0; i < 5; ++i) ctl->set_LItemData(static_cast<int16_t>(i * 600), i + 1);
  ctl->RAddItem(u"R0");
  ctl->RAddItem(u"R1");
  driver().click_item(ctl->List2(), 1);
  driver().click(ctl->cmdAdd());  // "R1" to the left; ">>" enabled
  driver().click_item(ctl->List2(), 0);
  ASSERT_EQ(ctl->List2().list_index(), 0);

  driver().click(ctl->cmdRemoveAll());
  ASSERT_EQ(ctl->List2().list_count(), n + 2);
  EXPECT_EQ(ctl->List2().list_index(), 0);
  EXPECT_EQ(ctl->List2().list(1), u"item0");
  EXPECT_EQ(ctl->List2().list(n), u"item2999");
  EXPECT_EQ(ctl->List2().list(n + 1), u"R1");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ctl->List2().item_data(1 + i * 600), i + 1);
  EXPECT_EQ(ctl->List2().item_data(2), 0);
  EXPECT_EQ(ctl->List1().list_count(), 0);
  EXPECT_EQ(ctl->List1().list_index(), -1);
  EXPECT_TRUE(ctl->List1().visible());
  EXPECT_TRUE(ctl->List2().visible());
  EXPECT_EQ(buttons(), (Flags{true, true, false, false}));
}

TEST_F(TransferTest, ItemMethodsLeaveButtonsAndRaiseNoChange) {
  ctl->RAddItem(u"A");
  ctl->RAddItem(u"B", Variant(int16_t{0}));
  ctl->LAddItem(u"X");
  ctl->set_Llist(0, u"X2");
  ctl->set_RList(1, u"A2");
  ctl->LRemoveItem(0);
  EXPECT_EQ(items(ctl->List2()), (Texts{u"B", u"A2"}));
  EXPECT_EQ(buttons(), (Flags{false, false, false, false}));
  EXPECT_EQ(changes(), 0);
}

}  // namespace
}  // namespace qs::test
