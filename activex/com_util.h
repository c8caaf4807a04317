// Small helpers shared by the COM layer: texts, GUIDs and interface pointers.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <string_view>

#include "platform/win32/win32_text.h"

namespace qs::activex {

using win32::from_wide;
using win32::wide;
// A new BSTR holding the text.
inline BSTR make_bstr(std::u16string_view s) {
  return SysAllocStringLen(reinterpret_cast<const wchar_t*>(s.data()), UINT(s.size()));
}
inline std::u16string from_bstr(BSTR b) {
  return from_wide(b, b ? SysStringLen(b) : 0);
}
// The GUID written as "{...}"; a malformed string gives GUID_NULL.
GUID guid_from_string(const char* text);
// The "{...}" form of a GUID.
std::u16string guid_text(const GUID& guid);

// An owning interface pointer.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
  ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~ComPtr() { reset(); }
  ComPtr& operator=(ComPtr o) { std::swap(p_, o.p_); return *this; }
  void reset() { if (p_) { T* p = p_; p_ = nullptr; p->Release(); } }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases the current pointer first.
  T** put() { reset(); return &p_; }
  // Gives up ownership without releasing.
  T* detach() { T* p = p_; p_ = nullptr; return p; }
  // Queries another interface of the same object.
  template <class U>
  ComPtr<U> as(REFIID iid) const {
    ComPtr<U> out;
    if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(out.put()));
    return out;
  }

 private:
  T* p_ = nullptr;
};

// A heap object implementing one interface: QueryInterface answers
// IUnknown and that interface, and the last Release deletes it. It starts
// with one reference, owned by whoever created it.
template <class Interface>
class SingleInterface : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return ULONG(n);
  }

 protected:
  virtual ~SingleInterface() = default;

 private:
  LONG refs_ = 1;
};

}  // namespace qs::activex
