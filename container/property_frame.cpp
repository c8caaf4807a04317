#include "container/property_frame.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace qs::container {

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kMargin = 7;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

std::wstring clsid_text(const CLSID& clsid) {
  wchar_t text[64] = {};
  StringFromGUID2(clsid, text, 64);
  return text;
}

const wchar_t* frame_class() {
  static const wchar_t* name = [] {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_TAB_CLASSES;
    InitCommonControlsEx(&icc);
    return L"QuorralSetPropertyFrame";
  }();
  return name;
}

}  // namespace

// A page's site: tells the frame when its page turns dirty.
class PropertyFrame::Site final : public IPropertyPageSite {
 public:
  explicit Site(PropertyFrame& frame) : frame_(frame) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IPropertyPageSite) return E_NOINTERFACE;
    *out = static_cast<IPropertyPageSite*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return ULONG(n);
  }
  HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override {
    if (frame_alive_ && (flags & PROPPAGESTATUS_DIRTY)) frame_.page_changed();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* lcid) override {
    if (!lcid) return E_POINTER;
    *lcid = LOCALE_USER_DEFAULT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }

  // The frame is gone: a page that keeps its site tells nobody.
  void detach() { frame_alive_ = false; }

 private:
  PropertyFrame& frame_;
  bool frame_alive_ = true;
  LONG refs_ = 1;
};

PropertyFrame::PropertyFrame(HWND owner, std::wstring caption, std::vector<IUnknown*> objects,
                             const std::vector<CLSID>& pages,
                             std::function<void(const std::wstring&)> log)
    : owner_(owner), caption_(std::move(caption)), objects_(std::move(objects)), log_(std::move(log)) {
  for (const CLSID& clsid : pages) {
    Page p;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                  reinterpret_cast<void**>(p.page.GetAddressOf()));
    if (FAILED(hr)) {
      if (log_) log_(L"property page " + clsid_text(clsid) + L" not available, skipped");
      continue;
    }
    p.site = new Site(*this);
    p.page->SetPageSite(p.site);
    hr = p.page->SetObjects(ULONG(objects_.size()), objects_.empty() ? nullptr : objects_.data());
    PROPPAGEINFO info{};
    info.cb = sizeof(info);
    if (FAILED(hr) || FAILED(p.page->GetPageInfo(&info))) {
      if (log_) log_(L"property page " + clsid_text(clsid) + L" refused the objects, skipped");
      p.page->SetPageSite(nullptr);
      p.site->detach();
      p.site->Release();
      continue;
    }
    p.title = info.pszTitle ? info.pszTitle : L"";
    p.size = info.size;
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    pages_.push_back(std::move(p));
  }
}

PropertyFrame::~PropertyFrame() {
  if (window_) DestroyWindow(window_);
  for (Page& p : pages_) {
    p.page->SetObjects(0, nullptr);
    p.page->SetPageSite(nullptr);
    p.site->detach();
    p.site->Release();
  }
}

std::vector<std::wstring> PropertyFrame::tabs() const {
  std::vector<std::wstring> out;
  for (const Page& p : pages_) out.push_back(p.title);
  return out;
}

RECT PropertyFrame::page_rect() const {
  RECT r{};
  GetClientRect(tabs_, &r);
  TabCtrl_AdjustRect(tabs_, FALSE, &r);
  MapWindowPoints(tabs_, window_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void PropertyFrame::create_window() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &PropertyFrame::window_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = frame_class();
  RegisterClassExW(&wc);  // fails harmlessly once registered

  SIZE page{0, 0};
  for (const Page& p : pages_) {
    page.cx = std::max(page.cx, p.size.cx);
    page.cy = std::max(page.cy, p.size.cy);
  }
  // The tab control's size for that page area.
  HWND probe = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD, 0, 0, 0, 0, GetDesktopWindow(),
                               nullptr, nullptr, nullptr);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"Tab");
  SendMessageW(probe, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  RECT tab_rect{0, 0, page.cx, page.cy};
  TabCtrl_AdjustRect(probe, TRUE, &tab_rect);
  DestroyWindow(probe);
  const int tab_w = tab_rect.right - tab_rect.left, tab_h = tab_rect.bottom - tab_rect.top;

  RECT client{0, 0, tab_w + 2 * kMargin, tab_h + 3 * kMargin + kButtonHeight};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME;
  AdjustWindowRectEx(&client, style, FALSE, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT);
  window_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, frame_class(),
                            (caption_ + L" Properties").c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            client.right - client.left, client.bottom - client.top, owner_, nullptr,
                            GetModuleHandleW(nullptr), this);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  tabs_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                          kMargin, kMargin, tab_w, tab_h, window_, nullptr, nullptr, nullptr);
  SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (size_t i = 0; i < pages_.size(); ++i) {
    item.pszText = const_cast<wchar_t*>(pages_[i].title.c_str());
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  const int top = kMargin + tab_h + kMargin;
  const int right = kMargin + tab_w;
  struct {
    const wchar_t* text;
    int id;
  } const buttons[] = {{L"OK", IDOK}, {L"Cancel", IDCANCEL}, {L"&Apply", kApply}};
  for (int i = 0; i < 3; ++i) {
    const int left = right - (3 - i) * kButtonWidth - (2 - i) * kMargin;
    HWND b = CreateWindowExW(0, L"BUTTON", buttons[i].text,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                 (buttons[i].id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                             left, top, kButtonWidth, kButtonHeight, window_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(buttons[i].id)), nullptr,
                             nullptr);
    SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (buttons[i].id == kApply) apply_ = b;
  }
  EnableWindow(apply_, FALSE);
}

void PropertyFrame::select(int index) {
  if (index == active_ || index < 0 || size_t(index) >= pages_.size()) return;
  if (active_ >= 0) {
    pages_[size_t(active_)].page->Show(SW_HIDE);
    pages_[size_t(active_)].page->Deactivate();
  }
  active_ = index;
  const RECT r = page_rect();
  IPropertyPage* page = pages_[size_t(index)].page.Get();
  if (FAILED(page->Activate(window_, &r, TRUE)) && log_)
    log_(L"property page " + pages_[size_t(index)].title + L" failed to activate");
  page->Show(SW_SHOW);
  // The pages lie over the tab control.
  SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(tabs_, TCM_SETCURSEL, WPARAM(index), 0);
}

bool PropertyFrame::apply() {
  bool ok = true;
  for (Page& p : pages_) {
    if (p.page->IsPageDirty() != S_OK) continue;
    const HRESULT hr = p.page->Apply();
    if (FAILED(hr)) {
      ok = false;
      wchar_t code[16];
      std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
      if (log_) log_(L"property page " + p.title + L" failed to apply: " + code);
    }
  }
  bool dirty = false;
  for (Page& p : pages_) dirty = dirty || p.page->IsPageDirty() == S_OK;
  EnableWindow(apply_, dirty);
  return ok;
}

void PropertyFrame::page_changed() {
  if (apply_) EnableWindow(apply_, TRUE);
}

void PropertyFrame::close(int result) {
  result_ = result;
  if (active_ >= 0) {
    pages_[size_t(active_)].page->Show(SW_HIDE);
    pages_[size_t(active_)].page->Deactivate();
    active_ = -1;
  }
}

LRESULT PropertyFrame::handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDOK:
          if (apply()) close(IDOK);
          return 0;
        case IDCANCEL:
          close(IDCANCEL);
          return 0;
        case kApply:
          apply();
          return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(lparam);
      if (n->hwndFrom == tabs_ && n->code == TCN_SELCHANGE)
        select(int(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_CLOSE:
      close(IDCANCEL);
      return 0;
  }
  return DefWindowProcW(window_, msg, wparam, lparam);
}

LRESULT CALLBACK PropertyFrame::window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<PropertyFrame*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<PropertyFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wparam, lparam);
  return self->handle(msg, wparam, lparam);
}

int PropertyFrame::run(const std::function<void(HWND)>& on_shown) {
  create_window();
  if (!window_) return IDCANCEL;
  result_ = 0;
  select(0);
  const bool owner_enabled = owner_ && IsWindowEnabled(owner_);
  if (owner_enabled) EnableWindow(owner_, FALSE);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  if (on_shown) on_shown(window_);
  MSG msg{};
  while (result_ == 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (active_ >= 0 && pages_[size_t(active_)].page->TranslateAccelerator(&msg) == S_OK) continue;
    if (IsDialogMessageW(window_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (result_ == 0) close(IDCANCEL);  // WM_QUIT: the loop ended without a choice
  if (owner_enabled) EnableWindow(owner_, TRUE);
  DestroyWindow(window_);
  window_ = nullptr;
  if (msg.message == WM_QUIT) PostQuitMessage(int(msg.wParam));
  return result_;
}

}  // namespace qs::container
