// Our container's property frame over a hosted AddRemove: the pages the
// control names (missing stock pages skipped), Apply enabled by a dirty
// page, typed lines applied to the control, and the tab switch between the
// two list pages.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <commctrl.h>
#include <wrl/client.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "container/container.h"
#include "container/control_site.h"
#include "container/property_frame.h"
#include "tests/hosts/host_probe.h"

using namespace qs::container;
using namespace qs::hosts;
using Microsoft::WRL::ComPtr;

namespace {

// The edit windows of the frame's shown page, left to right.
std::vector<HWND> shown_edits(HWND frame) {
  std::vector<HWND> edits;
  for (HWND e : descendants_of_class(frame, L"Edit"))
    if (IsWindowVisible(e)) edits.push_back(e);
  std::sort(edits.begin(), edits.end(),
            [&](HWND a, HWND b) { return rect_in(a, frame).left < rect_in(b, frame).left; });
  return edits;
}

// Replaces a box's text by typing: all selected, then one WM_CHAR per
// character (Enter for a line break).
void retype(HWND edit, const std::wstring& text) {
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, WM_CHAR, VK_BACK, 1);
  for (wchar_t ch : text)
    if (ch != L'\n') SendMessageW(edit, WM_CHAR, ch, 1);
}

std::vector<std::wstring> lines_of(IDispatch* control, const wchar_t* name) {
  VARIANT v = get_property(control, name);
  const std::wstring text = variant_text(v);
  VariantClear(&v);
  std::vector<std::wstring> out;
  if (text.empty()) return out;
  size_t start = 0;
  for (size_t cut; (cut = text.find(L"\r\n", start)) != std::wstring::npos; start = cut + 2)
    out.push_back(text.substr(start, cut - start));
  out.push_back(text.substr(start));
  return out;
}

class PropertyFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    container_ = std::make_unique<Container>(test_stage());
    site_ = &container_->add_control(L"QuorralSet.AddRemove", L"AddRemove1", RECT{10, 10, 410, 250});
    container_->show();
    container_->pump_messages();
    ASSERT_EQ(site_->object()->QueryInterface(IID_IDispatch,
                                              reinterpret_cast<void**>(control_.GetAddressOf())),
              S_OK);
    ComPtr<ISpecifyPropertyPages> specify;
    ASSERT_EQ(control_.As(&specify), S_OK);
    CAUUID pages{};
    ASSERT_EQ(specify->GetPages(&pages), S_OK);
    pages_.assign(pages.pElems, pages.pElems + pages.cElems);
    CoTaskMemFree(pages.pElems);
  }
  void TearDown() override {
    control_.Reset();
    container_.reset();
    OleUninitialize();
  }

  std::unique_ptr<Container> container_;
  ControlSite* site_ = nullptr;
  ComPtr<IDispatch> control_;
  std::vector<CLSID> pages_;
};

TEST_F(PropertyFrameTest, TypedLinesAreAppliedToTheControlThroughBothPages) {
  std::vector<std::wstring> log;
  PropertyFrame frame(container_->window(), L"AddRemove1", {site_->object()}, pages_,
                      [&](const std::wstring& line) { log.push_back(line); });
  // Our two pages; a stock page the system lacks is skipped with a line.
  const std::vector<std::wstring> tabs = frame.tabs();
  ASSERT_GE(tabs.size(), 2u);
  EXPECT_EQ(tabs[0], L"Left List");
  EXPECT_EQ(tabs[1], L"Right List");
  EXPECT_EQ(log.size(), pages_.size() - tabs.size());

  struct Seen {
    std::wstring items, data;
    bool apply_enabled = false;
  } left_page, right_page;
  const int result = frame.run([&](HWND window) {
    HWND apply = GetDlgItem(window, PropertyFrame::kApply);
    std::vector<HWND> edits = shown_edits(window);
    if (edits.size() != 2) return;
    left_page = {window_text(edits[0]), window_text(edits[1]), IsWindowEnabled(apply) != FALSE};
    retype(edits[0], L"Red\r\nGreen\r\nBlue\r\n");
    retype(edits[1], L"1\r\n2");
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(PropertyFrame::kApply, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowEnabled(apply));  // nothing left to apply

    // To the Right List tab, as a click on it selects it.
    HWND tab = FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);
    NMHDR change{tab, 0, UINT(TCN_SELCHANGE)};
    SendMessageW(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    edits = shown_edits(window);
    if (edits.size() != 2) return;
    right_page = {window_text(edits[0]), window_text(edits[1]), IsWindowEnabled(apply) != FALSE};
    retype(edits[0], L"z");
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });

  EXPECT_EQ(result, IDOK);
  // A new instance: its initial texts fill the boxes and dirty the page.
  EXPECT_EQ(left_page.items, L"LeftList");
  EXPECT_EQ(left_page.data, L"0");
  EXPECT_TRUE(left_page.apply_enabled);
  EXPECT_EQ(right_page.items, L"Rightlist");
  EXPECT_EQ(right_page.data, L"0");

  EXPECT_EQ(lines_of(control_.Get(), L"LeftList"),
            (std::vector<std::wstring>{L"Red", L"Green", L"Blue", L""}));
  EXPECT_EQ(lines_of(control_.Get(), L"LeftListItemData"), (std::vector<std::wstring>{L"1", L"2"}));
  EXPECT_EQ(lines_of(control_.Get(), L"RightList"), std::vector<std::wstring>{L"z"});
  // Applying the right page reloaded both lists from the stored texts.
  const std::vector<HWND> lists = lists_left_to_right(site_->control_window());
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(list_items(lists[0]), (std::vector<std::wstring>{L"Red", L"Green", L"Blue", L""}));
  EXPECT_EQ(list_items(lists[1]), std::vector<std::wstring>{L"z"});
  EXPECT_TRUE(IsWindowEnabled(container_->window()));
}

TEST_F(PropertyFrameTest, CancelWritesNothingAndLeavesNoPageWindow) {
  PropertyFrame frame(container_->window(), L"AddRemove1", {site_->object()}, pages_, {});
  HWND shown = nullptr;
  const int result = frame.run([&](HWND window) {
    shown = window;
    std::vector<HWND> edits = shown_edits(window);
    if (!edits.empty()) retype(edits[0], L"never");
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_FALSE(IsWindow(shown));
  EXPECT_EQ(lines_of(control_.Get(), L"LeftList"), std::vector<std::wstring>{L"LeftList"});
  const std::vector<HWND> lists = lists_left_to_right(site_->control_window());
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_TRUE(list_items(lists[0]).empty());
}

}  // namespace
