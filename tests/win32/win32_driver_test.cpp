// The Win32 driver acts through real window messages: list notifications,
// button clicks, label hit tests, input blocked by disabled windows, and
// modal forms run from inside their message loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"

namespace qs::win32 {
namespace {

// Records the notifications the surface window receives, then lets the
// surface handle them, to prove the driver's input went through messages.
class CommandSpy {
 public:
  explicit CommandSpy(HWND window) : window_(window) {
    SetPropW(window, L"QsCommandSpy", this);
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CommandSpy::proc)));
  }
  ~CommandSpy() {
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(window_, L"QsCommandSpy");
  }
  std::vector<WORD> codes;

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = static_cast<CommandSpy*>(GetPropW(hwnd, L"QsCommandSpy"));
    if (message == WM_COMMAND && lparam != 0) self->codes.push_back(HIWORD(wparam));
    return CallWindowProcW(self->previous_, hwnd, message, wparam, lparam);
  }
  HWND window_;
  WNDPROC previous_ = nullptr;
};

class Win32DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface_->on_resize = nullptr;
    driver_.resize(*surface_, 4800, 3600);
  }
  void TearDown() override { driver_.on_modal(nullptr); }

  Win32Platform& platform_ = Win32Platform::current();
  Driver& driver_ = platform_.driver();
  std::unique_ptr<Surface> surface_ = platform_.create_surface();
  HWND surface_hwnd() const { return dynamic_cast<Win32Surface&>(*surface_).hwnd(); }
  std::vector<std::string> log_;
};

TEST_F(Win32DriverTest, ListItemClicksArriveAsSelectionAndDoubleClickNotifications) {
  ListBox& list = surface_->create_list_box(u"List1");
  list.move(0, 0, 2000, 600);  // 40 pixels: about two rows
  for (int i = 0; i < 20; ++i) list.add_item(u"item " + std::u16string(1, u'a' + i));
  list.on_click = [&] { log_.push_back("click " + std::to_string(list.list_index())); };
  list.on_dbl_click = [&] { log_.push_back("dbl " + std::to_string(list.list_index())); };
  CommandSpy spy(surface_hwnd());

  driver_.click_item(list, 1);
  driver_.click_item(list, 17);  // scrolled into view first
  driver_.double_click_item(list, 5);

  EXPECT_EQ(log_, (std::vector<std::string>{"click 1", "click 17", "click 5", "dbl 5"}));
  EXPECT_EQ(std::count(spy.codes.begin(), spy.codes.end(), LBN_SELCHANGE), 3);
  EXPECT_EQ(std::count(spy.codes.begin(), spy.codes.end(), LBN_DBLCLK), 1);
  EXPECT_EQ(list.list_index(), 5);
  EXPECT_THROW(driver_.click_item(list, 20), std::out_of_range);
  EXPECT_THROW(driver_.click(list), std::invalid_argument);
}

TEST_F(Win32DriverTest, ButtonClickIsABnClickedAndDisabledWindowsBlockInput) {
  CommandButton& button = surface_->create_command_button(u"cmdAdd");
  button.move(2235, 330, 330, 330);
  button.set_caption(u"<");
  ListBox& list = surface_->create_list_box(u"List1");
  list.move(0, 225, 2135, 3375);
  list.add_item(u"A");
  button.on_click = [&] { log_.push_back("button"); };
  list.on_click = [&] { log_.push_back("list"); };
  CommandSpy spy(surface_hwnd());

  driver_.click(button);
  EXPECT_EQ(spy.codes, (std::vector<WORD>{BN_CLICKED}));

  surface_->set_enabled(false);
  driver_.click(button);
  driver_.click_item(list, 0);
  surface_->set_enabled(true);
  button.set_enabled(false);
  driver_.click(button);
  button.set_enabled(true);
  button.set_visible(false);
  driver_.click(button);
  button.set_visible(true);
  driver_.click(button);

  EXPECT_EQ(log_, (std::vector<std::string>{"button", "button"}));
  EXPECT_EQ(list.list_index(), -1) << "a click on a list of a disabled surface selects nothing";
  EXPECT_EQ(button.caption(), u"<");
}

TEST_F(Win32DriverTest, LabelsLieBelowWindowsForHitTestsAndClicks) {
  Label& covered = surface_->create_label(u"LeftCap");
  covered.move(0, 0, 2000, 225);
  Label& free_label = surface_->create_label(u"RightCap");
  free_label.move(2700, 0, 2000, 225);
  Label& top_label = surface_->create_label(u"Top");
  top_label.move(3000, 0, 300, 225);
  ListBox& list = surface_->create_list_box(u"List1");
  list.move(0, 0, 2000, 1500);  // over the whole of LeftCap, as with titles hidden
  list.add_item(u"A");
  covered.on_click = [&] { log_.push_back("covered"); };
  free_label.on_click = [&] { log_.push_back("free"); };
  top_label.on_click = [&] { log_.push_back("top"); };
  list.on_click = [&] { log_.push_back("list"); };

  EXPECT_EQ(driver_.element_at(*surface_, 100, 100), &list);
  EXPECT_EQ(driver_.element_at(*surface_, 2800, 100), &free_label);
  EXPECT_EQ(driver_.element_at(*surface_, 3100, 100), &top_label) << "a later label is above";
  EXPECT_EQ(driver_.element_at(*surface_, 2800, 300), nullptr);
  list.set_visible(false);
  EXPECT_EQ(driver_.element_at(*surface_, 100, 100), &covered);
  list.set_visible(true);

  driver_.click(free_label);
  driver_.click(top_label);
  driver_.click(covered);  // the list under the mouse takes the press
  free_label.set_enabled(false);
  driver_.click(free_label);
  EXPECT_EQ(log_, (std::vector<std::string>{"free", "top", "list"}));
}

TEST_F(Win32DriverTest, LabelsArePaintedBelowChildWindows) {
  HWND host = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  auto& win = dynamic_cast<Win32Surface&>(*surface_);
  win.attach(host, RECT{0, 0, 320, 240});
  surface_->set_back_color(0x00FF0000);  // blue
  Label& title = surface_->create_label(u"LeftCap");
  title.set_back_color(0x000000FF);  // red
  title.move(0, 0, 1500, 600);
  ListBox& list = surface_->create_list_box(u"List1");
  list.move(750, 0, 1500, 1500);  // covers the right half of the label
  surface_->refresh();
  driver_.pump();

  HDC dc = GetDC(win.hwnd());
  EXPECT_EQ(GetPixel(dc, 20, 20), RGB(255, 0, 0)) << "the label shows where nothing covers it";
  EXPECT_EQ(GetPixel(dc, 200, 200), RGB(0, 0, 255)) << "the surface's back colour";
  EXPECT_NE(GetPixel(dc, 80, 20), RGB(255, 0, 0)) << "the list hides the label under it";
  ReleaseDC(win.hwnd(), dc);
  win.attach(nullptr, RECT{});
  DestroyWindow(host);
}

TEST_F(Win32DriverTest, ResizeReportsTheNewSizeThroughTheWindow) {
  std::vector<float> widths;
  surface_->on_resize = [&] { widths.push_back(surface_->scale_width()); };
  driver_.resize(*surface_, 3000, 1500);
  driver_.resize(*surface_, 3000, 1500);  // unchanged: the container still reports it
  driver_.resize(*surface_, 4801, 1500);  // whole pixels only
  EXPECT_EQ(widths, (std::vector<float>{3000, 3000, 4800}));
  RECT client{};
  GetClientRect(surface_hwnd(), &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 100);
}

TEST_F(Win32DriverTest, ModalFormRunsItsScriptInsideItsMessageLoop) {
  std::unique_ptr<Form> form = platform_.create_form(u"frmTest");
  form->set_client_size(3000, 1500);
  Label& ok = form->create_label(u"OK");
  ok.move(1500, 900, 1200, 450);
  ok.on_click = [&] { form->hide(); };
  CommandButton& button = surface_->create_command_button(u"cmdAdd");
  button.move(0, 0, 330, 330);
  button.on_click = [&] { log_.push_back("surface button"); };

  driver_.on_modal([&](Form& shown) {
    log_.push_back(shown.is_shown() ? "shown" : "not shown");
    driver_.click(button);  // the modal form holds the input
    driver_.click(*shown.find(u"OK"));
  });
  form->show_modal();
  EXPECT_FALSE(form->is_shown());
  EXPECT_EQ(form->scale_width(), 3000);
  EXPECT_EQ(log_[0], "shown");
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "surface button"), 0);
  driver_.click(button);
  EXPECT_EQ(log_.back(), "surface button") << "input returns to the surface after the show";

  driver_.on_modal([](Form&) {});
  EXPECT_THROW(form->show_modal(), std::logic_error) << "a script that leaves the form shown fails";
  EXPECT_FALSE(form->is_shown());
  // The close box ends the show as hiding does.
  driver_.on_modal([](Form&) { SendMessageW(FindWindowW(nullptr, L"frmTest"), WM_CLOSE, 0, 0); });
  form->show_modal();
  EXPECT_FALSE(form->is_shown());
  driver_.on_modal(nullptr);
  EXPECT_THROW(form->show_modal(), std::logic_error) << "no script under the driver must not wait";
  EXPECT_FALSE(form->is_shown());
}

}  // namespace
}  // namespace qs::win32
