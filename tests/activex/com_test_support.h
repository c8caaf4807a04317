// What the ActiveX tests share: where the server is, running regsvr32, and
// small COM objects acting as a container would (property bag, sinks, a
// client site with a window).
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "library/class_list.h"

namespace qs::test {

using Microsoft::WRL::ComPtr;

// QuorralSet.ocx next to the running test program.
std::wstring ocx_path();
// Runs "regsvr32 /s <args> <ocx>" and returns its exit code.
DWORD regsvr32(const std::wstring& args);

std::wstring ascii_w(const char* s);
std::wstring wide_w(std::u16string_view s);
GUID guid(const char* text);

// The classes of the table that the server's embedded type library holds.
std::vector<const ClassInfo*> published_classes();

// Lets the calling thread's window messages through (sent and posted).
void pump_messages();

// An IPropertyBag keeping what is written, in order.
class RecordingPropertyBag final : public IPropertyBag {
 public:
  RecordingPropertyBag() = default;
  ~RecordingPropertyBag();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

  // Keys in the order first written.
  std::vector<std::wstring> keys() const;
  bool has(const std::wstring& key) const;
  // The stored value (VT_EMPTY when absent).
  const VARIANT& get(const std::wstring& key) const;
  // Stores a value directly (for prepared sets).
  void put(const std::wstring& key, const VARIANT& value);
  std::vector<std::wstring> reads;

 private:
  ULONG refs_ = 1;
  std::vector<std::pair<std::wstring, VARIANT>> values_;
};

// Records the dispatch ids an IPropertyNotifySink receives.
class NotifySink final : public IPropertyNotifySink {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override {
    changed.push_back(id);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }
  std::vector<DISPID> changed;

 private:
  ULONG refs_ = 1;
};

// An event sink: records the dispatch ids invoked and runs on_event.
class EventSink final : public IDispatch {
 public:
  explicit EventSink(IID events) : events_(events) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override;
  std::vector<DISPID> events;
  std::function<void(DISPID)> on_event;

 private:
  ULONG refs_ = 1;
  IID events_;
};

// A client site with an in-place site over a top-level window of its own.
// With ambients it answers the ambient font and user mode by IDispatch;
// without, it has no IDispatch (as some hosts).
class TestSite final : public IOleClientSite, public IOleInPlaceSite, public IDispatch {
 public:
  explicit TestSite(bool ambients);
  ~TestSite();
  HWND window() const { return window_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override {
    *c = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { ++shown; return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
  // IOleWindow, IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override { *hwnd = window_; return S_OK; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { ++activated; return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             LPRECT pos, LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO info) override;
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { ++deactivated; return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
  // IDispatch: the ambient properties
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override;

  RECT position = {10, 10, 410, 250};
  std::wstring ambient_font_name = L"Arial";
  int ambient_font_points = 11;
  bool user_mode = true;
  int shown = 0;
  int activated = 0;
  int deactivated = 0;

 private:
  ULONG refs_ = 1;
  bool ambients_;
  HWND window_ = nullptr;
};

}  // namespace qs::test
