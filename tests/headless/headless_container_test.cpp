// Children of an in-memory container: creation order, stacking, hit test, lookup.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_platform.h"

namespace qs {
namespace {

TEST(HeadlessContainer, WindowsStackAboveWindowlessElementsLatestOnTop) {
  HeadlessPlatform platform;
  HeadlessDriver driver(platform);
  auto surface = platform.create_surface();
  ListBox& list = surface->create_list_box(u"List1");
  CommandButton& button = surface->create_command_button(u"cmdAdd");
  Label& under = surface->create_label(u"LeftCap");
  Label& over = surface->create_label(u"RightCap");
  list.move(0, 0, 100, 100);
  button.move(50, 50, 100, 100);
  under.move(0, 0, 300, 300);
  over.move(200, 200, 50, 50);

  EXPECT_EQ(driver.element_at(*surface, 10, 10), &list) << "a window covers a later label";
  EXPECT_EQ(driver.element_at(*surface, 60, 60), &button) << "the later window is on top";
  EXPECT_EQ(driver.element_at(*surface, 210, 210), &over) << "the later label is on top";
  EXPECT_EQ(driver.element_at(*surface, 250, 250), &under) << "right and bottom edges excluded";
  EXPECT_EQ(driver.element_at(*surface, 150, 60), &under);
  EXPECT_EQ(driver.element_at(*surface, 300, 0), nullptr);
  EXPECT_EQ(driver.element_at(*surface, -1, 0), nullptr);
  button.set_visible(false);
  EXPECT_EQ(driver.element_at(*surface, 120, 120), &under) << "hidden elements are skipped";
  EXPECT_EQ(driver.element_at(*surface, 60, 60), &list);
}

TEST(HeadlessContainer, FindsChildrenByNameAndRefusesADuplicate) {
  HeadlessPlatform platform;
  auto form = platform.create_form(u"frmAbout");
  Label& ok = form->create_label(u"Label3");
  ListBox& list = form->create_list_box(u"List1");
  EXPECT_EQ(form->find(u"Label3"), &ok);
  EXPECT_EQ(form->find(u"List1"), &list);
  EXPECT_EQ(form->find(u"Label4"), nullptr);
  EXPECT_THROW(form->create_command_button(u"Label3"), std::invalid_argument);
  EXPECT_EQ(form->find(u"Label3"), &ok);
  EXPECT_EQ(ok.tab_index(), 0);
  EXPECT_EQ(list.tab_index(), 1);
}

}  // namespace
}  // namespace qs
