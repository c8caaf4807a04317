// The LeftList and RightList page objects through IPropertyPage: what they
// tell a frame, filling and applying through any object's dispatch
// interface, releasing while active, and the system's property frame
// showing them for a real AddRemove, typed into and applied.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/activex/addremove_client.h"

#include <commctrl.h>

namespace qs::test {
namespace {

// A frame's side of a page: records the status changes it is told of.
class RecordingPageSite final : public IPropertyPageSite {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IPropertyPageSite) return E_NOINTERFACE;
    *out = static_cast<IPropertyPageSite*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the stack
  HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override {
    statuses.push_back(flags);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* lcid) override {
    *lcid = LOCALE_USER_DEFAULT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }

  ULONG refs = 1;
  std::vector<DWORD> statuses;
};

ComPtr<IPropertyPage> create_page(const char16_t* name) {
  ComPtr<IPropertyPage> page;
  CoCreateInstance(guid(find_class(name)->clsid), nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                   reinterpret_cast<void**>(page.GetAddressOf()));
  return page;
}

std::wstring window_text(HWND hwnd) {
  wchar_t text[4096] = {};
  GetWindowTextW(hwnd, text, 4096);
  return text;
}

std::wstring class_of(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

struct ClassSearch {
  const wchar_t* cls;
  bool visible_only;
  std::vector<HWND> found;
};

BOOL CALLBACK match_class(HWND hwnd, LPARAM p) {
  auto* s = reinterpret_cast<ClassSearch*>(p);
  if (lstrcmpiW(class_of(hwnd).c_str(), s->cls) == 0 && (!s->visible_only || IsWindowVisible(hwnd)))
    s->found.push_back(hwnd);
  return TRUE;
}

// Every descendant window of `parent` of a class (only the visible ones
// when asked), left to right.
std::vector<HWND> windows_of_class(HWND parent, const wchar_t* cls, bool visible_only = false) {
  ClassSearch search{cls, visible_only, {}};
  EnumChildWindows(parent, &match_class, reinterpret_cast<LPARAM>(&search));
  std::sort(search.found.begin(), search.found.end(), [](HWND a, HWND b) {
    RECT ra{}, rb{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return search.found;
}

// Types into an edit window as a keyboard does: the caret to the end of a
// cleared box, then one WM_CHAR per character, Enter for a line break.
void type_into(HWND edit, const std::wstring& text) {
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  SendMessageW(edit, EM_SETSEL, 0, 0);
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t ch = text[i];
    if (ch == L'\n') continue;  // the CR before it was the Enter
    SendMessageW(edit, WM_CHAR, ch, 1);
  }
}

ULONG refs_of(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

class PropertyPages : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"page parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override { DestroyWindow(parent_); }

  HWND parent_ = nullptr;
  RECT rect_{0, 0, 395, 233};
};

TEST_F(PropertyPages, EachPageTellsItsTitleAndSizeAndRefusesBadPointers) {
  HDC dc = GetDC(nullptr);
  const int dpi_x = GetDeviceCaps(dc, LOGPIXELSX), dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  struct {
    const char16_t* name;
    const wchar_t* title;
  } const rows[] = {{u"LeftList", L"Left List"}, {u"RightList", L"Right List"}};
  for (const auto& row : rows) {
    ComPtr<IPropertyPage> page = create_page(row.name);
    ASSERT_TRUE(page);
    PROPPAGEINFO info{};
    info.cb = sizeof(info);
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_STREQ(info.pszTitle, row.title);
    EXPECT_EQ(info.size.cx, MulDiv(5925, dpi_x, 1440));
    EXPECT_EQ(info.size.cy, MulDiv(3495, dpi_y, 1440));
    CoTaskMemFree(info.pszTitle);

    RecordingPageSite site;
    IUnknown* not_dispatch = &site;
    EXPECT_EQ(page->GetPageInfo(nullptr), E_POINTER);
    EXPECT_EQ(page->SetObjects(1, nullptr), E_POINTER);
    EXPECT_EQ(page->SetObjects(1, &not_dispatch), E_NOINTERFACE);
    EXPECT_EQ(page->Activate(parent_, nullptr, FALSE), E_POINTER);
    EXPECT_EQ(page->Activate(nullptr, &rect_, FALSE), E_INVALIDARG);
    EXPECT_EQ(page->Move(nullptr), E_POINTER);
    EXPECT_EQ(page->TranslateAccelerator(nullptr), E_POINTER);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    EXPECT_EQ(page->Apply(), S_OK);  // nothing built, nothing to write
    EXPECT_EQ(site.refs, 1u);
  }
}

TEST_F(PropertyPages, APageFillsItsBoxesFromTheFirstObjectAndAppliesThroughItsDispatch) {
  ComPtr<_AddRemove> first = new_addremove();
  ComPtr<_AddRemove> second = new_addremove();
  ASSERT_TRUE(first && second);
  ComPtr<IPropertyPage> page = create_page(u"LeftList");
  ASSERT_TRUE(page);
  RecordingPageSite site;
  ASSERT_EQ(page->SetPageSite(&site), S_OK);
  IUnknown* objects[] = {first.Get(), second.Get()};
  ASSERT_EQ(page->SetObjects(2, objects), S_OK);
  ASSERT_EQ(page->Activate(parent_, &rect_, FALSE), S_OK);
  ASSERT_EQ(page->Show(SW_SHOW), S_OK);

  // The untouched instance's initial texts fill the boxes and dirty the page.
  const std::vector<HWND> edits = windows_of_class(parent_, L"Edit");
  ASSERT_EQ(edits.size(), 2u);
  EXPECT_EQ(window_text(edits[0]), L"LeftList");
  EXPECT_EQ(window_text(edits[1]), L"0");
  EXPECT_EQ(page->IsPageDirty(), S_OK);
  ASSERT_FALSE(site.statuses.empty());
  EXPECT_TRUE(site.statuses.back() & PROPPAGESTATUS_DIRTY);

  type_into(edits[0], L"a\r\nb\r\nc\r\n");
  type_into(edits[1], L"5\r\n-1");
  EXPECT_EQ(window_text(edits[0]), L"a\r\nb\r\nc\r\n");
  ASSERT_EQ(page->Apply(), S_OK);
  EXPECT_EQ(page->IsPageDirty(), S_FALSE);

  EXPECT_EQ(left_items(first.Get()), (std::vector<std::wstring>{L"a", L"b", L"c", L""}));
  EXPECT_EQ(left_data(first.Get()), (std::vector<LONG>{5, -1, 0, 0}));
  EXPECT_EQ(right_items(first.Get()), std::vector<std::wstring>{L"Rightlist"});
  // Only the first selected object is changed.
  EXPECT_TRUE(left_items(second.Get()).empty());

  EXPECT_EQ(page->Deactivate(), S_OK);
  EXPECT_TRUE(windows_of_class(parent_, L"Edit").empty());
  EXPECT_EQ(page->SetPageSite(nullptr), S_OK);
  EXPECT_EQ(site.refs, 1u);
}

TEST_F(PropertyPages, AnObjectWithoutTheListPropertiesFailsApplyWithTheDispatchError) {
  ComPtr<IUnknown> check;
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(L"QuorralSet.qCheck", &clsid), S_OK);
  ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(check.GetAddressOf())),
            S_OK);
  ComPtr<IPropertyPage> page = create_page(u"RightList");
  IUnknown* objects[] = {check.Get()};
  ASSERT_EQ(page->SetObjects(1, objects), S_OK);
  // Reading fails: the boxes stay empty and the page clean.
  ASSERT_EQ(page->Activate(parent_, &rect_, FALSE), S_OK);
  const std::vector<HWND> edits = windows_of_class(parent_, L"Edit");
  ASSERT_EQ(edits.size(), 2u);
  EXPECT_EQ(window_text(edits[0]), L"");
  EXPECT_EQ(page->IsPageDirty(), S_FALSE);
  type_into(edits[0], L"x");
  EXPECT_EQ(page->Apply(), HRESULT(0x800A01B6));  // 438: no such property
  EXPECT_EQ(page->IsPageDirty(), S_OK);
}

TEST_F(PropertyPages, ReleasingAnActivePageLeavesNoWindowAndNoReference) {
  ComPtr<_AddRemove> control = new_addremove();
  const ULONG control_refs = refs_of(control.Get());
  RecordingPageSite site;
  {
    ComPtr<IPropertyPage> page = create_page(u"LeftList");
    ASSERT_EQ(page->SetPageSite(&site), S_OK);
    IUnknown* objects[] = {control.Get()};
    ASSERT_EQ(page->SetObjects(1, objects), S_OK);
    ASSERT_EQ(page->Activate(parent_, &rect_, FALSE), S_OK);
    EXPECT_GT(refs_of(control.Get()), control_refs);
    EXPECT_NE(GetWindow(parent_, GW_CHILD), nullptr);
  }
  EXPECT_EQ(GetWindow(parent_, GW_CHILD), nullptr);
  EXPECT_EQ(refs_of(control.Get()), control_refs);
  EXPECT_EQ(site.refs, 1u);
}

BOOL CALLBACK match_dialog(HWND hwnd, LPARAM p) {
  if (!IsWindowVisible(hwnd) || class_of(hwnd) != L"#32770") return TRUE;
  *reinterpret_cast<HWND*>(p) = hwnd;
  return FALSE;
}

// The frame's window (the thread's visible dialog), once shown by
// OleCreatePropertyFrame on `thread`.
HWND wait_for_frame(DWORD thread) {
  for (int tries = 0; tries < 200; ++tries) {
    HWND frame = nullptr;
    EnumThreadWindows(thread, &match_dialog, reinterpret_cast<LPARAM>(&frame));
    if (frame) return frame;
    Sleep(50);
  }
  return nullptr;
}

// The system's frame creates the pages it can (Wine's has no stock colour
// and font pages and skips them), shows the first one filled from the
// control, and releases every page when it closes. Wine's frame never calls
// IPropertyPage::Apply (its OK only closes), so what OK writes depends on
// the frame: the control holds either the typed lists or its own.
TEST_F(PropertyPages, TheSystemFrameShowsOurPagesForARealAddRemove) {
  ComPtr<_AddRemove> control = new_addremove();
  ComPtr<ISpecifyPropertyPages> specify;
  ASSERT_EQ(control.As(&specify), S_OK);
  CAUUID pages{};
  ASSERT_EQ(specify->GetPages(&pages), S_OK);
  const ULONG control_refs = refs_of(control.Get());

  // A second thread acts as the user while the frame runs its modal loop
  // on this one: it types into the first page's boxes and presses OK.
  const DWORD ui_thread = GetCurrentThreadId();
  std::vector<std::wstring> tabs;
  std::wstring items_before, data_before, items_typed;
  std::thread user([&] {
    HWND frame = wait_for_frame(ui_thread);
    if (!frame) return;
    for (HWND t : windows_of_class(frame, L"SysTabControl32")) {
      const int n = int(SendMessageW(t, TCM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < n; ++i) {
        wchar_t text[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(t, TCM_GETITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        tabs.push_back(text);
      }
    }
    const std::vector<HWND> edits = windows_of_class(frame, L"Edit", /*visible_only=*/true);
    if (edits.size() >= 2) {
      items_before = window_text(edits[0]);
      data_before = window_text(edits[1]);
      type_into(edits[0], L"Red\r\nGreen\r\nBlue");
      type_into(edits[1], L"1\r\n2");
      items_typed = window_text(edits[0]);
    }
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  IUnknown* objects[] = {control.Get()};
  const HRESULT hr = OleCreatePropertyFrame(parent_, 10, 10, L"AddRemove", 1, objects, pages.cElems,
                                            pages.pElems, LOCALE_USER_DEFAULT, 0, nullptr);
  user.join();
  CoTaskMemFree(pages.pElems);

  ASSERT_EQ(hr, S_OK);
  std::wstring tab_list;
  for (const auto& t : tabs) tab_list += t + L"|";
  std::printf("property frame tabs: %ls\n", tab_list.c_str());
  ASSERT_GE(tabs.size(), 2u);
  EXPECT_EQ(tabs[0], L"Left List");
  EXPECT_EQ(tabs[1], L"Right List");
  EXPECT_EQ(items_before, L"LeftList");
  EXPECT_EQ(data_before, L"0");
  EXPECT_EQ(items_typed, L"Red\r\nGreen\r\nBlue");

  const std::vector<std::wstring> left = left_items(control.Get());
  if (left.empty()) {
    std::printf("the frame's OK did not apply the pages\n");
    EXPECT_TRUE(right_items(control.Get()).empty());
  } else {
    EXPECT_EQ(left, (std::vector<std::wstring>{L"Red", L"Green", L"Blue"}));
    EXPECT_EQ(left_data(control.Get()), (std::vector<LONG>{1, 2, 0}));
  }
  // The frame released the pages and they released the control.
  EXPECT_EQ(refs_of(control.Get()), control_refs);
}

}  // namespace
}  // namespace qs::test
