// The in-memory list box: error numbers and selection rules the controls rely on.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/runtime_error.h"
#include "platform/headless/headless_list_box.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/error_of.h"

namespace qs {
namespace {

using qs::test::error_of;

std::vector<std::u16string> texts(const ListBox& list) {
  std::vector<std::u16string> out;
  for (int i = 0; i < list.list_count(); ++i) out.push_back(list.list(i));
  return out;
}

class HeadlessListBoxTest : public ::testing::Test {
 protected:
  HeadlessPlatform platform_;
  std::unique_ptr<Surface> surface_ = platform_.create_surface();
  ListBox& list_ = surface_->create_list_box(u"List1");
};

TEST_F(HeadlessListBoxTest, AddAppendsOrInsertsAndRefusesABadIndexWith5) {
  list_.add_item(u"A");
  list_.add_item(u"C");
  list_.add_item(u"B", 1);
  list_.add_item(u"top", 0);
  list_.add_item(u"end", 4);
  EXPECT_EQ(texts(list_), (std::vector<std::u16string>{u"top", u"A", u"B", u"C", u"end"}));
  EXPECT_EQ(error_of([&] { list_.add_item(u"x", -1); }), kErrInvalidCall);
  EXPECT_EQ(error_of([&] { list_.add_item(u"x", 6); }), kErrInvalidCall);
  EXPECT_EQ(list_.list_count(), 5);
  list_.set_item_data(2, 7);
  list_.add_item(u"new", 2);
  EXPECT_EQ(list_.item_data(2), 0);
  EXPECT_EQ(list_.item_data(3), 7) << "item data travels with its item on insert";
}

TEST_F(HeadlessListBoxTest, RemoveAndInsertKeepTheSelectedItem) {
  for (auto t : {u"A", u"B", u"C", u"D"}) list_.add_item(t);
  list_.set_list_index(2);
  list_.remove_item(0);
  EXPECT_EQ(list_.list_index(), 1);
  EXPECT_EQ(list_.list(list_.list_index()), u"C");
  list_.add_item(u"X", 0);
  EXPECT_EQ(list_.list(list_.list_index()), u"C");
  list_.remove_item(3);  // below the selection
  EXPECT_EQ(list_.list(list_.list_index()), u"C");
  EXPECT_EQ(error_of([&] { list_.remove_item(3); }), kErrInvalidCall);
  EXPECT_EQ(error_of([&] { list_.remove_item(-1); }), kErrInvalidCall);
  list_.remove_item(list_.list_index());
  EXPECT_EQ(list_.list_index(), -1);
  EXPECT_EQ(texts(list_), (std::vector<std::u16string>{u"X", u"B"}));
  list_.set_list_index(1);
  list_.clear();
  EXPECT_EQ(list_.list_count(), 0);
  EXPECT_EQ(list_.list_index(), -1);
}

TEST_F(HeadlessListBoxTest, TextAndItemDataRefuseABadIndexWith381) {
  list_.add_item(u"A");
  list_.add_item(u"B");
  list_.set_list(1, u"b");
  list_.set_item_data(0, -5);
  EXPECT_EQ(list_.list(1), u"b");
  EXPECT_EQ(list_.item_data(0), -5);
  EXPECT_EQ(list_.item_data(1), 0);
  EXPECT_EQ(error_of([&] { list_.list(2); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { list_.list(-1); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { list_.set_list(2, u"x"); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { list_.item_data(2); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { list_.set_item_data(-1, 1); }), kErrInvalidArrayIndex);
  EXPECT_EQ(texts(list_), (std::vector<std::u16string>{u"A", u"b"}));
}

TEST_F(HeadlessListBoxTest, SettingTheListIndexReportsAClickOnlyForAnItem) {
  std::vector<int> seen;  // the list index each click saw
  list_.on_click = [&] { seen.push_back(list_.list_index()); };
  list_.add_item(u"A");
  list_.add_item(u"B");
  list_.set_list_index(1);
  EXPECT_EQ(seen, std::vector<int>{1});
  list_.set_list_index(-1);
  EXPECT_EQ(list_.list_index(), -1);
  EXPECT_EQ(error_of([&] { list_.set_list_index(2); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { list_.set_list_index(-2); }), kErrInvalidPropertyValue);
  EXPECT_EQ(list_.list_index(), -1);
  list_.add_item(u"C");
  list_.remove_item(0);
  list_.clear();
  EXPECT_EQ(seen, std::vector<int>{1}) << "only a selection reports a click";
  EXPECT_EQ(error_of([&] { list_.set_list_index(0); }), kErrInvalidPropertyValue)
      << "an empty list has no item 0";
}

TEST_F(HeadlessListBoxTest, AddItemsAppendsWithDataKeepsTheSelectionAndNests) {
  list_.add_item(u"A");
  list_.add_item(u"B");
  list_.set_list_index(1);
  auto& headless = dynamic_cast<HeadlessListBox&>(list_);
  {
    ListBox::Update outer(list_);
    list_.add_items({{u"C", 5}, {u"", -2147483647 - 1}, {u"C", 0}});
    EXPECT_EQ(headless.open_updates(), 1) << "the batch closes its own update only";
  }
  EXPECT_EQ(headless.open_updates(), 0);
  EXPECT_EQ(headless.updates_opened(), 2);
  EXPECT_EQ(list_.items(), (std::vector<ListItem>{
                               {u"A", 0}, {u"B", 0}, {u"C", 5}, {u"", -2147483647 - 1}, {u"C", 0}}));
  EXPECT_EQ(list_.list_index(), 1);
  list_.add_items({});
  EXPECT_EQ(list_.list_count(), 5);
}

}  // namespace
}  // namespace qs
