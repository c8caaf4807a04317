// AddRemove's whole-list work holds the repaint of both lists for the whole
// call and leaves no update open (a list left in an update would never
// repaint again); per-item work holds nothing, since holding a list
// repaints all of it where the list box alone repaints only what changed.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "controls/addremove/addremove.h"
#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_list_box.h"
#include "platform/headless/headless_platform.h"

namespace qs {
namespace {

TEST(AddRemoveUpdatesTest, EachBulkOperationHoldsBothListsOnceAndClosesThem) {
  struct Case {
    const char* name;
    std::function<void(AddRemove&, HeadlessDriver&)> act;
    bool held;
  };
  const Case cases[] = {
      {"LeftList", [](AddRemove& c, HeadlessDriver&) { c.set_LeftList(Variant(u"a\r\nb\r\nc")); }, true},
      {"RightList", [](AddRemove& c, HeadlessDriver&) { c.set_RightList(Variant(u"x")); }, true},
      {">>", [](AddRemove& c, HeadlessDriver& d) { d.click(c.cmdRemoveAll()); }, true},
      {"<<", [](AddRemove& c, HeadlessDriver& d) { d.click(c.cmdAddAll()); }, true},
      {"Save_Lists", [](AddRemove& c, HeadlessDriver&) { c.Save_Lists(); }, false},
      {"LAddItem", [](AddRemove& c, HeadlessDriver&) { c.LAddItem(u"n"); }, false},
      {">", [](AddRemove& c, HeadlessDriver& d) { d.click(c.cmdRemove()); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessPlatform platform;
    HeadlessDriver driver(platform);
    NullHost host;
    AddRemove ctl(platform.create_surface(), host);
    ctl.InitProperties();
    driver.resize(ctl.surface(), 4800, 3600);
    ctl.set_LeftList(Variant(u"a\r\nb"));
    // Both move-all buttons enabled: one move each way.
    driver.click_item(ctl.List2(), 0);
    driver.click(ctl.cmdAdd());
    driver.click_item(ctl.List1(), 0);
    driver.click(ctl.cmdRemove());
    auto& left = dynamic_cast<HeadlessListBox&>(ctl.List1());
    auto& right = dynamic_cast<HeadlessListBox&>(ctl.List2());
    const int left_before = left.updates_opened(), right_before = right.updates_opened();

    c.act(ctl, driver);
    EXPECT_EQ(left.updates_opened() > left_before, c.held);
    EXPECT_EQ(right.updates_opened() > right_before, c.held);
    EXPECT_EQ(left.open_updates(), 0);
    EXPECT_EQ(right.open_updates(), 0);
  }
}

}  // namespace
}  // namespace qs
