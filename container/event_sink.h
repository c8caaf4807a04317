// Receives a control's events on its default source interface and logs them.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <atomic>
#include <string>

namespace qs::container {

class ControlSite;

// Logs each event as "event <control>.<event name>"; names come from the
// source interface's type information.
class EventSink final : public IDispatch {
 public:
  EventSink(ControlSite* site, const IID& iid, Microsoft::WRL::ComPtr<ITypeInfo> info);

  // Drops the link to the site; events arriving afterwards are ignored.
  void detach() { site_ = nullptr; }
  // The source interface this sink answers for.
  const IID& iid() const { return iid_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

 private:
  ~EventSink() = default;
  ControlSite* site_;
  IID iid_;
  Microsoft::WRL::ComPtr<ITypeInfo> info_;
  std::atomic<ULONG> refs_{1};
};

// The name of member `id` in `info`, or "dispid <id>" when it has none.
std::wstring member_name(ITypeInfo* info, DISPID id);

}  // namespace qs::container
