// The Win32 platform's elements are real windows: their classes, styles,
// places in pixels, tab order and errors.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "platform/win32/win32_platform.h"
#include "tests/support/error_of.h"

namespace qs::win32 {
namespace {

using qs::test::error_of;

std::wstring class_of(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

RECT rect_in_parent(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class Win32WindowsTest : public ::testing::Test {
 protected:
  Win32Platform& platform_ = Win32Platform::current();
  std::unique_ptr<Surface> owned_ = platform_.create_surface();
  Win32Surface& surface_ = dynamic_cast<Win32Surface&>(*owned_);

  // The child windows of the surface, top of the Z order first.
  std::vector<HWND> children() const {
    std::vector<HWND> out;
    for (HWND c = GetWindow(surface_.hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    return out;
  }
};

TEST_F(Win32WindowsTest, ElementsAreChildWindowsOfTheirClassesAndLabelsAreWindowless) {
  EXPECT_EQ(twips_per_pixel_x(), 15.0f);
  EXPECT_EQ(twips_per_pixel_y(), 15.0f);
  ASSERT_TRUE(IsWindow(surface_.hwnd()));
  EXPECT_TRUE(GetWindowLongW(surface_.hwnd(), GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(GetWindowLongW(surface_.hwnd(), GWL_STYLE) & WS_CLIPCHILDREN);
  EXPECT_EQ(GetParent(surface_.hwnd()), platform_.parking_window());
  EXPECT_FALSE(IsWindowVisible(platform_.parking_window()));

  ListBox& list = surface_.create_list_box(u"List1");
  surface_.create_command_button(u"cmdAdd");
  Label& label = surface_.create_label(u"LeftCap");
  EXPECT_TRUE(label.windowless());

  const std::vector<HWND> windows = children();
  ASSERT_EQ(windows.size(), 2u) << "the label must not be a window";
  EXPECT_EQ(class_of(windows[0]), L"ListBox");
  EXPECT_EQ(class_of(windows[1]), L"Button");
  const LONG list_style = GetWindowLongW(windows[0], GWL_STYLE);
  EXPECT_TRUE(list_style & LBS_NOTIFY);
  EXPECT_TRUE(list_style & WS_TABSTOP);
  EXPECT_FALSE(list_style & LBS_SORT);
  const LONG button_style = GetWindowLongW(windows[1], GWL_STYLE);
  EXPECT_EQ(button_style & 0x0F, BS_PUSHBUTTON);
  EXPECT_TRUE(button_style & WS_TABSTOP);
  // The scroll bar shows once the items overflow the list.
  list.move(0, 0, 1500, 600);
  for (int i = 0; i < 30; ++i) list.add_item(u"item");
  EXPECT_TRUE(GetWindowLongW(windows[0], GWL_STYLE) & WS_VSCROLL);
  EXPECT_NE(surface_.find(u"cmdAdd"), nullptr);
  EXPECT_EQ(surface_.find(u"nothing"), nullptr);
}

TEST_F(Win32WindowsTest, MoveKeepsTwipsAndPlacesTheWindowInPixelsRoundingHalvesToEven) {
  ListBox& list = surface_.create_list_box(u"List1");
  list.move(2235, 330, 2135.5f, 337.5f);
  EXPECT_EQ(list.bounds(), (Bounds{2235, 330, 2135.5f, 337.5f}));
  RECT r = rect_in_parent(GetWindow(surface_.hwnd(), GW_CHILD));
  // 2235/15 = 149, 330/15 = 22, 2135.5/15 = 142.37, 337.5/15 = 22.5 -> 22.
  EXPECT_EQ(r.left, 149);
  EXPECT_EQ(r.top, 22);
  EXPECT_EQ(r.right - r.left, 142);
  EXPECT_EQ(r.bottom - r.top, 22) << "the list must not round its height to whole rows";

  list.move(52.5f, 0, 22.5f, 0);  // 3.5 -> 4 and 1.5 -> 2
  r = rect_in_parent(GetWindow(surface_.hwnd(), GW_CHILD));
  EXPECT_EQ(r.left, 4);
  EXPECT_EQ(r.right - r.left, 2);
}

TEST_F(Win32WindowsTest, NegativeSizeIsRefusedWith380AndChangesNothing) {
  CommandButton& button = surface_.create_command_button(u"cmdAdd");
  Label& label = surface_.create_label(u"LeftCap");
  button.move(150, 300, 330, 330);
  label.move(0, 0, 900, 225);

  EXPECT_EQ(error_of([&] { button.move(600, 600, -1, 330); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { label.move(600, 600, 100, -0.5f); }), kErrInvalidPropertyValue);
  EXPECT_EQ(button.bounds(), (Bounds{150, 300, 330, 330}));
  EXPECT_EQ(label.bounds(), (Bounds{0, 0, 900, 225}));
  const RECT r = rect_in_parent(GetWindow(surface_.hwnd(), GW_CHILD));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 22);

  button.move(45);  // only the left edge changes
  EXPECT_EQ(button.bounds(), (Bounds{45, 300, 330, 330}));
}

TEST_F(Win32WindowsTest, TabIndexOrdersTheWindowsForTheDialogManagersTabKey) {
  // Created in the reverse of their tab order, as the dual list control does.
  ListBox& right = surface_.create_list_box(u"List2");
  CommandButton& second = surface_.create_command_button(u"cmdAddAll");
  CommandButton& first = surface_.create_command_button(u"cmdAdd");
  ListBox& left = surface_.create_list_box(u"List1");
  right.set_tab_index(3);
  second.set_tab_index(2);
  first.set_tab_index(1);
  left.set_tab_index(0);

  const std::vector<HWND> z = children();
  ASSERT_EQ(z.size(), 4u);
  // Creation order ids are 1-based: List2 1, cmdAddAll 2, cmdAdd 3, List1 4.
  EXPECT_EQ(GetDlgCtrlID(z[0]), 4);
  EXPECT_EQ(GetDlgCtrlID(z[1]), 3);
  EXPECT_EQ(GetDlgCtrlID(z[2]), 2);
  EXPECT_EQ(GetDlgCtrlID(z[3]), 1);

  // Tab walks List1, cmdAdd, cmdAddAll, List2 and skips a disabled button.
  EXPECT_EQ(GetNextDlgTabItem(surface_.hwnd(), z[0], FALSE), z[1]);
  EXPECT_EQ(GetNextDlgTabItem(surface_.hwnd(), z[1], FALSE), z[2]);
  second.set_enabled(false);
  EXPECT_EQ(GetNextDlgTabItem(surface_.hwnd(), z[1], FALSE), z[3]);
  EXPECT_EQ(left.tab_index(), 0);
  EXPECT_EQ(error_of([&] { left.set_tab_index(-1); }), kErrInvalidPropertyValue);
}

TEST_F(Win32WindowsTest, ListBoxKeepsItemsAndDataInTheWindowAndRefusesBadIndexes) {
  ListBox& list = surface_.create_list_box(u"List1");
  const HWND window = GetWindow(surface_.hwnd(), GW_CHILD);
  int clicks = 0;
  list.on_click = [&] { ++clicks; };

  list.add_item(u"B");
  list.add_item(u"\u00c4pfel");
  list.add_item(u"A", 0);
  EXPECT_EQ(SendMessageW(window, LB_GETCOUNT, 0, 0), 3);
  wchar_t text[16] = {};
  SendMessageW(window, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"\u00c4pfel");
  EXPECT_EQ(list.list(0), u"A");

  list.set_item_data(1, -7);
  EXPECT_EQ(SendMessageW(window, LB_GETITEMDATA, 1, 0), -7);
  list.set_list_index(1);
  EXPECT_EQ(clicks, 1) << "code selecting an item reports a click";
  list.set_list(1, u"Bee");
  EXPECT_EQ(list.list(1), u"Bee");
  EXPECT_EQ(list.item_data(1), -7);
  EXPECT_EQ(list.list_index(), 1);
  list.set_list_index(-1);
  EXPECT_EQ(clicks, 1) << "clearing the selection reports nothing";
  EXPECT_EQ(SendMessageW(window, LB_GETCURSEL, 0, 0), LB_ERR);

  EXPECT_EQ(error_of([&] { list.add_item(u"x", 4); }), kErrInvalidCall);
  EXPECT_EQ(error_of([&] { list.add_item(u"x", -1); }), kErrInvalidCall);
  EXPECT_EQ(error_of([&] { list.remove_item(3); }), kErrInvalidCall);
  EXPECT_EQ(error_of([&] { (void)list.list(3); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { (void)list.item_data(-1); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { list.set_item_data(3, 1); }), kErrInvalidArrayIndex);
  EXPECT_EQ(error_of([&] { list.set_list_index(3); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { list.set_list_index(-2); }), kErrInvalidPropertyValue);
  EXPECT_EQ(list.list_count(), 3);

  // The window shows a text up to a NUL; the item keeps all of it.
  const std::u16string with_nul(u"x\0y", 3);
  list.add_item(with_nul, 1);
  SendMessageW(window, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"x");
  EXPECT_EQ(list.list(1), with_nul);
  list.set_list(1, u"\0" + with_nul);
  EXPECT_EQ(list.list(1), u"\0" + with_nul);
  list.remove_item(1);
  EXPECT_EQ(list.list(1), u"Bee");

  list.set_list_index(2);
  list.remove_item(2);
  EXPECT_EQ(list.list_index(), -1) << "removing the selected item clears the selection";
  list.clear();
  EXPECT_EQ(SendMessageW(window, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(Win32WindowsTest, SurfaceSizeStylesAndColoursAreTheWindows) {
  int resizes = 0;
  owned_->on_resize = [&] { ++resizes; };
  surface_.set_rect(RECT{10, 20, 330, 260});
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(owned_->scale_width(), 4800);
  EXPECT_EQ(owned_->scale_height(), 3600);
  surface_.set_rect(RECT{0, 0, 320, 240});
  EXPECT_EQ(resizes, 1) << "a move without a size change is no resize";

  owned_->set_enabled(false);
  EXPECT_FALSE(IsWindowEnabled(surface_.hwnd()));
  EXPECT_FALSE(owned_->enabled());
  owned_->set_enabled(true);
  EXPECT_EQ(error_of([&] { owned_->set_border_style(2); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { owned_->set_back_style(-1); }), kErrInvalidPropertyValue);
  owned_->set_border_style(1);
  EXPECT_EQ(owned_->border_style(), 1);
  EXPECT_EQ(owned_->scale_width(), 4800) << "the border is drawn inside the client area";

  // Attaching to a host window shows the surface there; parking hides it again.
  HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  surface_.attach(host, RECT{5, 5, 125, 95});
  EXPECT_EQ(GetParent(surface_.hwnd()), host);
  EXPECT_TRUE(IsWindowVisible(surface_.hwnd()));
  EXPECT_EQ(owned_->scale_width(), 1800);
  surface_.attach(nullptr, RECT{});
  EXPECT_EQ(GetParent(surface_.hwnd()), platform_.parking_window());
  EXPECT_FALSE(GetWindowLongW(surface_.hwnd(), GWL_STYLE) & WS_VISIBLE);
  DestroyWindow(host);
}

// A batch lands in the window with its item data, keeps the selection and
// the top item, repaints only when the last update closes, and leaves the
// window's redraw on and a hidden list hidden.
TEST_F(Win32WindowsTest, ListBoxBatchesHoldRepaintUntilTheLastUpdateCloses) {
  const HWND top = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                                   nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  surface_.attach(top, RECT{0, 0, 400, 300});
  ListBox& list = surface_.create_list_box(u"List1");
  const HWND window = GetWindow(surface_.hwnd(), GW_CHILD);
  list.move(0, 0, 1500, 900);
  for (int i = 0; i < 20; ++i) list.add_item(u"item");
  list.set_list_index(3);
  SendMessageW(window, LB_SETTOPINDEX, 2, 0);
  const LRESULT top_index = SendMessageW(window, LB_GETTOPINDEX, 0, 0);
  ASSERT_GT(top_index, 0);
  auto pending_paint = [&] { return GetUpdateRect(window, nullptr, FALSE) != FALSE; };
  auto paint_all = [&] {
    RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  };

  paint_all();
  {
    ListBox::Update hold(list);
    list.add_items({{u"A", 5}, {u"B", -9}});
    list.add_item(u"C");
    EXPECT_FALSE(pending_paint()) << "nothing repaints while an update is open";
  }
  EXPECT_TRUE(pending_paint()) << "closing the last update repaints";
  EXPECT_EQ(SendMessageW(window, LB_GETCOUNT, 0, 0), 23);
  EXPECT_EQ(SendMessageW(window, LB_GETITEMDATA, 20, 0), 5);
  EXPECT_EQ(SendMessageW(window, LB_GETITEMDATA, 21, 0), -9);
  EXPECT_EQ(SendMessageW(window, LB_GETITEMDATA, 22, 0), 0);
  wchar_t text[8] = {};
  SendMessageW(window, LB_GETTEXT, 21, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"B");
  EXPECT_EQ(list.list_index(), 3);
  EXPECT_EQ(SendMessageW(window, LB_GETTOPINDEX, 0, 0), top_index);
  EXPECT_TRUE(IsWindowVisible(window));

  // With the last item in view, a new item below it shows at once.
  SendMessageW(window, LB_SETTOPINDEX, 22, 0);
  paint_all();
  list.add_item(u"D");
  EXPECT_TRUE(pending_paint()) << "redraw is on again after the update";

  list.set_visible(false);
  list.add_items({{u"E", 1}});
  { ListBox::Update hold(list); }
  EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE);
  list.set_visible(true);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(list.items().back(), (ListItem{u"E", 1}));

  surface_.attach(nullptr, RECT{});
  DestroyWindow(top);
}

}  // namespace
}  // namespace qs::win32
