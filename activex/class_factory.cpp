#include "class_factory.h"

#include <new>

#include "com_util.h"
#include "server_class.h"
#include "server_module.h"

namespace qs::activex {
namespace {

class ClassFactory final : public SingleInterface<IClassFactory> {
 public:
  explicit ClassFactory(const ServerClass& server_class) : class_(server_class) {
    add_module_ref();
  }
  ~ClassFactory() override { release_module_ref(); }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return class_.create(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) add_module_ref();
    else release_module_ref();
    return S_OK;
  }

 private:
  const ServerClass& class_;
};

}  // namespace

HRESULT get_class_object(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (const ClassInfo& info : class_list()) {
    if (guid_from_string(info.clsid) != clsid) continue;
    const ServerClass* server_class = find_server_class(info.name);
    if (!server_class) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) ClassFactory(*server_class);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace qs::activex
