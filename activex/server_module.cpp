#include "server_module.h"

#include <atomic>
#include <mutex>

#include "com_util.h"

namespace qs::activex {
namespace {

std::atomic<long> module_refs{0};

}  // namespace

HMODULE module_handle() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&module_handle), &module);
  return module;
}

std::u16string module_path() {
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameW(module_handle(), buffer, MAX_PATH * 2);
  return from_wide(buffer, n);
}

void add_module_ref() { ++module_refs; }
void release_module_ref() { --module_refs; }
bool module_unused() { return module_refs.load() == 0; }

ITypeLib* type_library() {
  // Loaded on first use and kept for the life of the process: the type
  // information handed out holds it anyway.
  static ITypeLib* library = [] {
    ITypeLib* lib = nullptr;
    std::u16string path = module_path();
    LoadTypeLibEx(wide(path), REGKIND_NONE, &lib);
    return lib;
  }();
  return library;
}

HRESULT type_info(REFGUID guid, ITypeInfo** out) {
  *out = nullptr;
  ITypeLib* lib = type_library();
  if (!lib) return TYPE_E_CANTLOADLIBRARY;
  return lib->GetTypeInfoOfGuid(guid, out);
}

}  // namespace qs::activex
