#include "container/class_lookup.h"

#include <objbase.h>

namespace qs::container {

namespace {

// The default value of a key under the current user's classes.
bool user_class_value(const std::wstring& subkey, std::wstring& value) {
  wchar_t buffer[MAX_PATH * 2];
  DWORD size = sizeof buffer;
  const std::wstring path = L"Software\\Classes\\" + subkey;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return false;
  value = buffer;
  return true;
}

HRESULT create_from_user_registration(const std::wstring& prog_id, REFIID iid, void** out) {
  std::wstring clsid_text;
  if (!user_class_value(prog_id + L"\\CLSID", clsid_text)) return REGDB_E_CLASSNOTREG;
  std::wstring server;
  if (!user_class_value(L"CLSID\\" + clsid_text + L"\\InprocServer32", server)) return REGDB_E_CLASSNOTREG;
  CLSID clsid;
  HRESULT hr = CLSIDFromString(clsid_text.c_str(), &clsid);
  if (FAILED(hr)) return hr;
  // The server stays loaded for the life of the process, as COM keeps it
  // until CoFreeUnusedLibraries.
  HMODULE module = LoadLibraryW(server.c_str());
  if (module == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get_class_object = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  if (get_class_object == nullptr) return CO_E_ERRORINDLL;
  IClassFactory* factory = nullptr;
  hr = get_class_object(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(nullptr, iid, out);
  factory->Release();
  return hr;
}

}  // namespace

HRESULT create_by_prog_id(const std::wstring& prog_id, REFIID iid, void** out) {
  *out = nullptr;
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(prog_id.c_str(), &clsid);
  if (SUCCEEDED(hr)) {
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, iid, out);
    if (hr != REGDB_E_CLASSNOTREG) return hr;
  }
  // Neither registration known: report the platform's own failure.
  HRESULT user = create_from_user_registration(prog_id, iid, out);
  return user == REGDB_E_CLASSNOTREG ? hr : user;
}

}  // namespace qs::container
