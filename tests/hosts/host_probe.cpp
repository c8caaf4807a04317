#include "tests/hosts/host_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace qs::hosts {

namespace {

struct ClassSearch {
  const wchar_t* cls;
  std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  wchar_t name[64];
  if (GetClassNameW(hwnd, name, 64) && _wcsicmp(name, search->cls) == 0) search->found.push_back(hwnd);
  return TRUE;
}

DISPID dispid_of(IDispatch* object, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  EXPECT_EQ(hr, S_OK) << "no member " << std::string(name, name + wcslen(name));
  return id;
}

// A crash inside a hosted control ends the test program at once with a
// message, instead of waiting for Wine's debugger.
LONG WINAPI report_crash(EXCEPTION_POINTERS* info) {
  std::fprintf(stderr, "host test: unhandled exception 0x%08lX at %p\n",
               static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
               info->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  ExitProcess(3);
}

const bool crash_reporter_installed = (SetUnhandledExceptionFilter(report_crash), true);

}  // namespace

HWND test_stage() {
  static HWND stage = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"QsHostTestStage";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"host tests", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                0, 900, 600, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(hwnd);
    return hwnd;
  }();
  return stage;
}

std::vector<HWND> descendants_of_class(HWND root, const wchar_t* cls) {
  ClassSearch search{cls, {}};
  EnumChildWindows(root, collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring window_text(HWND hwnd) {
  wchar_t text[256];
  int n = GetWindowTextW(hwnd, text, 256);
  return std::wstring(text, n);
}

RECT rect_in(HWND hwnd, HWND reference) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HWND find_button(HWND root, const std::wstring& caption) {
  for (HWND button : descendants_of_class(root, L"Button"))
    if (window_text(button) == caption) return button;
  return nullptr;
}

std::vector<HWND> lists_left_to_right(HWND root) {
  std::vector<HWND> lists = descendants_of_class(root, L"ListBox");
  if (lists.size() != 2) return {};
  if (rect_in(lists[0], root).left > rect_in(lists[1], root).left) std::swap(lists[0], lists[1]);
  return lists;
}

std::vector<std::wstring> list_items(HWND list) {
  std::vector<std::wstring> items;
  LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(SendMessageW(list, LB_GETTEXTLEN, i, 0), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    items.push_back(text);
  }
  return items;
}

void click_list_item(HWND list, int index) {
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  LPARAM at = MAKELPARAM(item.left + 3, (item.top + item.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
}

int count_color(const container::Pixels& pixels, RECT rect, COLORREF color) {
  int n = 0;
  for (LONG y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, pixels.height); ++y)
    for (LONG x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, pixels.width); ++x)
      if (pixels.at(x, y) == color) ++n;
  return n;
}

VARIANT get_property(IDispatch* object, const wchar_t* name) {
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  HRESULT hr = object->Invoke(dispid_of(object, name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                              &none, &result, nullptr, nullptr);
  EXPECT_EQ(hr, S_OK) << "get " << std::string(name, name + wcslen(name));
  return result;
}

HRESULT put_property(IDispatch* object, const wchar_t* name, const VARIANT& value, bool by_ref) {
  VARIANT arg = value;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&arg, &named, 1, 1};
  return object->Invoke(dispid_of(object, name), IID_NULL, LOCALE_USER_DEFAULT,
                        by_ref ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                        nullptr);
}

VARIANT text_variant(const std::wstring& text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return v;
}

std::wstring variant_text(const VARIANT& value) {
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&value), 0, VT_BSTR))) return L"<not text>";
  std::wstring out(text.bstrVal, SysStringLen(text.bstrVal));
  VariantClear(&text);
  return out;
}

}  // namespace qs::hosts
