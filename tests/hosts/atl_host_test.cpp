// The control in Wine's ATL host window (class AtlAxWin100 with the ProgID
// as its text): it must show its lists and buttons, follow the host's size
// and be released when the host window goes.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <set>

#include "container/window_capture.h"
#include "tests/hosts/host_probe.h"

using namespace qs::hosts;
using qs::container::Pixels;
using qs::container::capture_window;

namespace {

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

class AtlHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    // The host's window class stays registered for the process, so the
    // library is loaded and initialised once and never freed.
    static const bool atl_ready = [] {
      HMODULE atl = LoadLibraryW(L"atl100.dll");
      auto init = atl ? reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit"))) : nullptr;
      return init && init();
    }();
    ASSERT_TRUE(atl_ready) << "atl100.dll or its AtlAxWinInit is missing";
    parent_ = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 700, 340,
                              test_stage(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    UpdateWindow(parent_);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
    pump();
    OleUninitialize();
  }

  HWND create_host(int width, int height, const wchar_t* prog_id = L"QuorralSet.AddRemove") {
    HWND host = CreateWindowExW(0, L"AtlAxWin100", prog_id, WS_CHILD | WS_VISIBLE, 10, 10,
                                width, height, parent_, nullptr, GetModuleHandleW(nullptr), nullptr);
    pump();
    return host;
  }

  HWND parent_ = nullptr;
};

}  // namespace

TEST_F(AtlHostTest, ControlShowsItsListsAndButtons) {
  HWND host = create_host(400, 240);
  ASSERT_NE(host, nullptr);
  std::vector<HWND> lists = lists_left_to_right(host);
  ASSERT_EQ(lists.size(), 2u) << "the control created no window with two lists in the host";
  std::multiset<std::wstring> captions;
  std::vector<HWND> buttons = descendants_of_class(host, L"Button");
  for (HWND b : buttons) {
    captions.insert(window_text(b));
    RECT r = rect_in(b, host);
    EXPECT_TRUE(IsWindowVisible(b));
    EXPECT_GT(r.right - r.left, 10);
    EXPECT_GT(r.bottom - r.top, 10);
  }
  EXPECT_EQ(captions, (std::multiset<std::wstring>{L"<", L"<<", L">", L">>"}));

  // The lists fill most of the host: both together wider than half of it.
  RECT left = rect_in(lists[0], host), right = rect_in(lists[1], host);
  EXPECT_TRUE(IsWindowVisible(lists[0]) && IsWindowVisible(lists[1]));
  EXPECT_GT((left.right - left.left) + (right.right - right.left), 200);
  EXPECT_GT(left.bottom - left.top, 150);
  EXPECT_LT(left.right, right.left);

  // On screen the empty lists are large window-coloured areas, the buttons
  // are not.
  Pixels pixels;
  ASSERT_TRUE(capture_window(host, &pixels));
  EXPECT_EQ(pixels.width, 400);
  EXPECT_EQ(pixels.height, 240);
  COLORREF window_color = GetSysColor(COLOR_WINDOW);
  for (RECT list : {left, right}) {
    RECT inner{list.left + 4, list.top + 4, list.right - 4, list.bottom - 4};
    int area = (inner.right - inner.left) * (inner.bottom - inner.top);
    EXPECT_GT(count_color(pixels, inner, window_color), area * 9 / 10);
  }
  RECT between{left.right + 2, 0, right.left - 2, pixels.height};
  int gap = (between.right - between.left) * pixels.height;
  EXPECT_LT(count_color(pixels, between, window_color), gap / 2);
  for (HWND b : buttons) {
    RECT r = rect_in(b, host);
    EXPECT_LT(count_color(pixels, r, window_color), (r.right - r.left) * (r.bottom - r.top) / 2)
        << "button " << r.left << "," << r.top << " looks like an empty list";
  }
}

TEST_F(AtlHostTest, ControlFollowsTheHostSize) {
  HWND host = create_host(400, 240);
  std::vector<HWND> lists = lists_left_to_right(host);
  ASSERT_EQ(lists.size(), 2u);
  RECT before = rect_in(lists[0], host);
  SetWindowPos(host, nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
  pump();
  RECT after = rect_in(lists[0], host);
  EXPECT_GT(after.right - after.left, before.right - before.left + 90);
  EXPECT_GT(after.bottom - after.top, before.bottom - before.top + 50);
  RECT right = rect_in(lists[1], host);
  EXPECT_NEAR(right.right, 600, 2);
}

TEST_F(AtlHostTest, DestroyingTheHostReleasesTheControl) {
  HWND host = create_host(400, 240);
  std::vector<HWND> lists = lists_left_to_right(host);
  ASSERT_EQ(lists.size(), 2u);
  HMODULE server = GetModuleHandleW(L"QuorralSet.ocx");
  ASSERT_NE(server, nullptr);
  auto can_unload = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow")));
  ASSERT_NE(can_unload, nullptr);
  EXPECT_EQ(can_unload(), S_FALSE);
  DestroyWindow(host);
  pump();
  EXPECT_FALSE(IsWindow(lists[0]));
  EXPECT_EQ(can_unload(), S_OK);
  // A second host after the first is gone works as the first did.
  HWND second = create_host(300, 200);
  EXPECT_EQ(lists_left_to_right(second).size(), 2u);
  DestroyWindow(second);
  pump();
  EXPECT_EQ(can_unload(), S_OK);
}

TEST_F(AtlHostTest, TheOtherControlsAppearInTheHostAndGoWithIt) {
  HMODULE server = GetModuleHandleW(L"QuorralSet.ocx");
  auto can_unload = server ? reinterpret_cast<HRESULT(WINAPI*)()>(
                                 reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow")))
                           : nullptr;
  for (const wchar_t* prog_id :
       {L"QuorralSet.qCheck", L"QuorralSet.qLabel", L"QuorralSet.Dirtext", L"QuorralSet.ShapeButton"}) {
    HWND host = create_host(200, 40, prog_id);
    ASSERT_NE(host, nullptr);
    // The control made its own window inside the host, at the host's size.
    HWND control = GetWindow(host, GW_CHILD);
    ASSERT_NE(control, nullptr) << prog_id;
    EXPECT_TRUE(IsWindowVisible(control));
    RECT r{};
    GetClientRect(control, &r);
    EXPECT_EQ(r.right - r.left, 200);
    DestroyWindow(host);
    pump();
    EXPECT_FALSE(IsWindow(control));
    if (!server) server = GetModuleHandleW(L"QuorralSet.ocx");
    if (server && !can_unload)
      can_unload = reinterpret_cast<HRESULT(WINAPI*)()>(
          reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow")));
    ASSERT_NE(can_unload, nullptr);
    EXPECT_EQ(can_unload(), S_OK) << prog_id;
  }
}

// The ATL host gives no ambient user mode, so the tray control runs as at run
// time: it places its icon from the host, keeps its own hidden window, and
// leaves nothing behind when the host window goes.
BOOL CALLBACK count_message_windows(HWND w, LPARAM count) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t cls[32] = {};
  GetClassNameW(w, cls, 32);
  if (pid == GetCurrentProcessId() && lstrcmpW(cls, L"QsMessageWindow") == 0)
    ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int message_windows() {
  int n = 0;
  EnumWindows(count_message_windows, reinterpret_cast<LPARAM>(&n));
  return n;
}

TEST_F(AtlHostTest, TheTrayControlSnapsToItsSizeAndGoesWithTheHost) {
  const int before = message_windows();
  HWND host = create_host(200, 120, L"QuorralSet.Quorral");
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(message_windows(), before + 1);
  HWND control = GetWindow(host, GW_CHILD);
  ASSERT_NE(control, nullptr);
  IUnknown* unknown = nullptr;
  using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
  auto get_control = reinterpret_cast<GetControl>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"atl100.dll"), "AtlAxGetControl")));
  ASSERT_NE(get_control, nullptr);
  ASSERT_EQ(get_control(host, &unknown), S_OK);
  IDispatch* d = nullptr;
  ASSERT_EQ(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d)), S_OK);
  unknown->Release();
  // Set_Icon True through late binding.
  OLECHAR* name = const_cast<OLECHAR*>(L"Set_Icon");
  DISPID id = 0;
  ASSERT_EQ(d->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  VARIANT arg;
  VariantInit(&arg);
  V_VT(&arg) = VT_BOOL;
  V_BOOL(&arg) = VARIANT_TRUE;
  DISPPARAMS params = {&arg, nullptr, 1, 0};
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                      nullptr, nullptr), S_OK);
  d->Release();
  // The control's surface is 552 twips square: 37 pixels at 96 dots per inch.
  RECT r{};
  GetClientRect(control, &r);
  EXPECT_NEAR(r.right - r.left, 37, 1);
  EXPECT_NEAR(r.bottom - r.top, 37, 1);
  DestroyWindow(host);
  pump();
  EXPECT_EQ(message_windows(), before) << "the hidden window went with the control";
}
