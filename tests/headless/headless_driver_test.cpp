// The headless driver: which input reaches an element, and modal shows.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_form.h"
#include "platform/headless/headless_platform.h"

namespace qs {
namespace {

class HeadlessDriverTest : public ::testing::Test {
 protected:
  HeadlessPlatform platform_;
  HeadlessDriver driver_{platform_};
  std::unique_ptr<Surface> surface_ = platform_.create_surface();
  std::vector<std::string> log_;
};

TEST_F(HeadlessDriverTest, InputReachesOnlyEnabledVisibleElementsOfAnEnabledSurface) {
  CommandButton& button = surface_->create_command_button(u"cmdAdd");
  Label& label = surface_->create_label(u"LeftCap");
  label.move(0, 0, 2000, 225);  // the mouse reaches a label only inside it
  ListBox& list = surface_->create_list_box(u"List1");
  list.add_item(u"A");
  list.add_item(u"B");
  button.on_click = [&] { log_.push_back("button"); };
  label.on_click = [&] { log_.push_back("label"); };
  list.on_click = [&] { log_.push_back("list"); };

  driver_.click(button);
  driver_.click(label);
  button.set_enabled(false);
  label.set_visible(false);
  driver_.click(button);
  driver_.click(label);
  EXPECT_EQ(log_, (std::vector<std::string>{"button", "label"}));

  button.set_enabled(true);
  label.set_visible(true);
  surface_->set_enabled(false);
  driver_.click(button);
  driver_.click(label);
  driver_.click_item(list, 1);
  EXPECT_EQ(list.list_index(), -1) << "a disabled surface keeps the selection";
  EXPECT_EQ(log_.size(), 2u) << "a disabled surface blocks every child";

  surface_->set_enabled(true);
  driver_.click_item(list, 1);
  EXPECT_EQ(list.list_index(), 1);
  EXPECT_EQ(log_.back(), "list");
  EXPECT_THROW(driver_.click(list), std::invalid_argument);
  EXPECT_THROW(driver_.click_item(list, 2), std::out_of_range);
}

TEST_F(HeadlessDriverTest, DoubleClickIsAClickThenADoubleClick) {
  ListBox& list = surface_->create_list_box(u"List2");
  list.add_item(u"A");
  list.add_item(u"B");
  list.on_click = [&] { log_.push_back("click " + std::to_string(list.list_index())); };
  list.on_dbl_click = [&] { log_.push_back("dbl " + std::to_string(list.list_index())); };
  driver_.double_click_item(list, 1);
  EXPECT_EQ(log_, (std::vector<std::string>{"click 1", "dbl 1"}));

  // A click handler that disables the list stops the second press.
  log_.clear();
  list.on_click = [&] {
    log_.push_back("click");
    list.set_enabled(false);
  };
  driver_.double_click_item(list, 0);
  EXPECT_EQ(log_, std::vector<std::string>{"click"});
}

TEST_F(HeadlessDriverTest, ResizeSetsTheInnerSizeBeforeReportingIt) {
  float seen_width = -1;
  float seen_height = -1;
  surface_->on_resize = [&] {
    seen_width = surface_->scale_width();
    seen_height = surface_->scale_height();
  };
  driver_.resize(*surface_, 4801, 3600);
  EXPECT_EQ(seen_width, 4801);
  EXPECT_EQ(seen_height, 3600);
}

TEST_F(HeadlessDriverTest, ModalShowRunsTheScriptAndBlocksOtherWindows) {
  auto form = platform_.create_form(u"frmAbout");
  Label& ok = form->create_label(u"Label3");
  ok.move(5880, 3240, 1215, 495);
  ok.on_click = [&] { form->hide(); };
  CommandButton& outside = surface_->create_command_button(u"cmdAdd");
  outside.on_click = [&] { log_.push_back("outside"); };

  int shows = 0;
  driver_.on_modal([&](Form& shown) {
    ++shows;
    EXPECT_EQ(&shown, form.get());
    EXPECT_TRUE(shown.is_shown());
    EXPECT_EQ(platform_.modal_form(), form.get());
    driver_.click(outside);
    EXPECT_TRUE(log_.empty()) << "a modal form disables the other windows";
    driver_.click(ok);
  });
  form->show_modal();
  EXPECT_EQ(shows, 1);
  EXPECT_FALSE(form->is_shown());
  EXPECT_EQ(platform_.modal_form(), nullptr);
  driver_.click(outside);
  EXPECT_EQ(log_, std::vector<std::string>{"outside"});
  driver_.click(ok);  // a hidden form takes no input
  EXPECT_EQ(shows, 1);
}

TEST_F(HeadlessDriverTest, ModalShowFailsLoudlyWithoutAScriptOrWhenLeftShown) {
  auto form = platform_.create_form(u"frmAbout");
  EXPECT_THROW(form->show_modal(), std::logic_error);
  EXPECT_FALSE(form->is_shown());

  driver_.on_modal([](Form&) {});
  EXPECT_THROW(form->show_modal(), std::logic_error);
  EXPECT_FALSE(form->is_shown());
  EXPECT_EQ(platform_.modal_form(), nullptr);

  driver_.on_modal([](Form&) { throw std::runtime_error("script failed"); });
  EXPECT_THROW(form->show_modal(), std::runtime_error);
  EXPECT_FALSE(form->is_shown());
  EXPECT_EQ(platform_.modal_form(), nullptr);
}

TEST_F(HeadlessDriverTest, NestedModalShowsTakeInputInTurn) {
  auto outer = platform_.create_form(u"MessageBox");
  auto inner = platform_.create_form(u"Easter");
  CommandButton& outer_button = outer->create_command_button(u"Command1");
  CommandButton& done = inner->create_command_button(u"Command1");
  outer_button.on_click = [&] { log_.push_back("outer"); };
  done.on_click = [&] { inner->hide(); };
  int again = 0;
  driver_.on_modal([&](Form& shown) {
    if (&shown == outer.get()) {
      inner->show_modal();
      driver_.click(outer_button);
      // Showing a form that is shown already is the runtime's error 400.
      try {
        outer->show_modal();
      } catch (const RuntimeError& e) {
        again = e.number();
      }
      outer->hide();
    } else {
      driver_.click(outer_button);
      driver_.click(done);
    }
  });
  outer->show_modal();
  EXPECT_EQ(log_, std::vector<std::string>{"outer"}) << "only the top modal form takes input";
  EXPECT_EQ(again, 400);
  EXPECT_FALSE(outer->is_shown());
  EXPECT_FALSE(inner->is_shown());
}

}  // namespace
}  // namespace qs
