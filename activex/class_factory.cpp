#include "class_factory.h"

#include <new>

#include "addremove_object.h"
#include "com_util.h"
#include "server_module.h"

namespace qs::activex {
namespace {

class ClassFactory final : public SingleInterface<IClassFactory> {
 public:
  explicit ClassFactory(CreateFunction create) : create_(create) { add_module_ref(); }
  ~ClassFactory() override { release_module_ref(); }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) add_module_ref();
    else release_module_ref();
    return S_OK;
  }

 private:
  CreateFunction create_;
};

}  // namespace

CreateFunction creator_of(const ClassInfo& info) {
  if (info.name == u"AddRemove") return &create_addremove;
  // The property pages LeftList and RightList are registered with the
  // library but not yet creatable.
  return nullptr;
}

HRESULT get_class_object(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (const ClassInfo& info : class_list()) {
    if (guid_from_string(info.clsid) != clsid) continue;
    CreateFunction create = creator_of(info);
    if (!create) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) ClassFactory(create);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace qs::activex
