#include "tests/activex/com_test_support.h"

#include <oleauto.h>

namespace qs::test {

std::wstring ocx_path() {
  wchar_t buffer[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::wstring path = buffer;
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + L"QuorralSet.ocx";
}

DWORD regsvr32(const std::wstring& args) {
  std::wstring command = L"regsvr32 /s " + args + L" \"" + ocx_path() + L"\"";
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return DWORD(-1);
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = DWORD(-1);
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

std::wstring ascii_w(const char* s) { return std::wstring(s, s + strlen(s)); }
std::wstring wide_w(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

GUID guid(const char* text) {
  GUID g = GUID_NULL;
  std::wstring w = ascii_w(text);
  CLSIDFromString(w.c_str(), &g);
  return g;
}

std::vector<const ClassInfo*> published_classes() {
  std::vector<const ClassInfo*> out;
  ITypeLib* lib = nullptr;
  if (FAILED(LoadTypeLibEx(ocx_path().c_str(), REGKIND_NONE, &lib))) return out;
  for (const ClassInfo& c : class_list()) {
    ITypeInfo* ti = nullptr;
    if (SUCCEEDED(lib->GetTypeInfoOfGuid(guid(c.clsid), &ti))) {
      ti->Release();
      out.push_back(&c);
    }
  }
  lib->Release();
  return out;
}

void pump_messages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// RecordingPropertyBag

RecordingPropertyBag::~RecordingPropertyBag() {
  for (auto& [key, value] : values_) VariantClear(&value);
}

HRESULT RecordingPropertyBag::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
    *out = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG RecordingPropertyBag::Release() {
  ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

HRESULT RecordingPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  reads.emplace_back(name);
  for (auto& [key, stored] : values_)
    if (key == name) return VariantCopy(value, &stored);
  return E_INVALIDARG;
}

HRESULT RecordingPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  put(name, *value);
  return S_OK;
}

void RecordingPropertyBag::put(const std::wstring& name, const VARIANT& value) {
  for (auto& [key, stored] : values_) {
    if (key == name) {
      VariantClear(&stored);
      VariantCopy(&stored, const_cast<VARIANT*>(&value));
      return;
    }
  }
  VARIANT copy;
  VariantInit(&copy);
  VariantCopy(&copy, const_cast<VARIANT*>(&value));
  values_.emplace_back(name, copy);
}

std::vector<std::wstring> RecordingPropertyBag::keys() const {
  std::vector<std::wstring> out;
  for (const auto& [key, value] : values_) out.push_back(key);
  return out;
}

bool RecordingPropertyBag::has(const std::wstring& name) const {
  for (const auto& [key, value] : values_)
    if (key == name) return true;
  return false;
}

const VARIANT& RecordingPropertyBag::get(const std::wstring& name) const {
  static VARIANT empty = {};
  for (const auto& [key, value] : values_)
    if (key == name) return value;
  return empty;
}

// NotifySink, EventSink

HRESULT NotifySink::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IPropertyNotifySink) {
    *out = static_cast<IPropertyNotifySink*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG NotifySink::Release() {
  ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

HRESULT EventSink::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == events_) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG EventSink::Release() {
  ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                          UINT*) {
  events.push_back(id);
  if (on_event) on_event(id);
  return S_OK;
}

// TestSite

namespace {

const wchar_t* site_window_class() {
  static const wchar_t* name = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QsTestSiteWindow";
    RegisterClassW(&wc);
    return L"QsTestSiteWindow";
  }();
  return name;
}

}  // namespace

TestSite::TestSite(bool ambients) : ambients_(ambients) {
  window_ = CreateWindowExW(0, site_window_class(), L"test site",
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 640, 480,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TestSite::~TestSite() {
  if (window_) DestroyWindow(window_);
}

HRESULT TestSite::QueryInterface(REFIID iid, void** out) {
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
    *out = static_cast<IOleInPlaceSite*>(this);
  else if (iid == IID_IDispatch && ambients_) *out = static_cast<IDispatch*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG TestSite::Release() {
  ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

HRESULT TestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                   LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  *frame = nullptr;
  *doc = nullptr;
  *pos = position;
  *clip = position;
  info->fMDIApp = FALSE;
  info->hwndFrame = window_;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT TestSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                         UINT*) {
  if (!result) return E_POINTER;
  VariantInit(result);
  if (id == DISPID_AMBIENT_USERMODE) {
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = user_mode ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  if (id == DISPID_AMBIENT_FONT) {
    FONTDESC fd = {sizeof(FONTDESC), const_cast<LPOLESTR>(ambient_font_name.c_str()),
                   {}, FW_NORMAL, DEFAULT_CHARSET, FALSE, FALSE, FALSE};
    fd.cySize.int64 = ambient_font_points * 10000LL;
    V_VT(result) = VT_DISPATCH;
    return OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&V_DISPATCH(result)));
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace qs::test
