#include "container/event_sink.h"

#include "container/control_site.h"

namespace qs::container {

std::wstring member_name(ITypeInfo* info, DISPID id) {
  if (info) {
    BSTR name = nullptr;
    UINT count = 0;
    if (SUCCEEDED(info->GetNames(id, &name, 1, &count)) && count == 1 && name) {
      std::wstring result(name, SysStringLen(name));
      SysFreeString(name);
      return result;
    }
  }
  return L"dispid " + std::to_wstring(id);
}

EventSink::EventSink(ControlSite* site, const IID& iid, Microsoft::WRL::ComPtr<ITypeInfo> info)
    : site_(site), iid_(iid), info_(std::move(info)) {}

HRESULT EventSink::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == iid_) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG EventSink::Release() {
  ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT EventSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = info_ ? 1 : 0;
  return S_OK;
}

HRESULT EventSink::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (index != 0 || !info_) return DISP_E_BADINDEX;
  info_->AddRef();
  *out = info_.Get();
  return S_OK;
}

HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!info_) return E_NOTIMPL;
  return info_->GetIDsOfNames(names, count, ids);
}

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                          UINT*) {
  if (result) VariantInit(result);
  if (site_) site_->on_event(member_name(info_.Get(), id));
  return S_OK;
}

}  // namespace qs::container
