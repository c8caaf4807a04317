#include "registration.h"

#include <oleauto.h>

#include <string>

#include "com_util.h"
#include "library/class_list.h"
#include "core/variant.h"
#include "server_module.h"

namespace qs::activex {
namespace {

// The platform a type library is registered for: that of this build.
#ifdef _WIN64
constexpr SYSKIND kTypeLibSystem = SYS_WIN64;
#else
constexpr SYSKIND kTypeLibSystem = SYS_WIN32;
#endif

// Implemented category "controls".
constexpr char16_t kControlCategory[] = u"{40FC6ED4-2438-11CF-A3DB-080036F12502}";

std::u16string ascii(const char* s) { return std::u16string(s, s + strlen(s)); }


class Registry {
 public:
  explicit Registry(RegistrationScope scope)
      : root_(scope == RegistrationScope::kUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE) {}

  // Sets a string value (name null: the key's default value), creating the key.
  void set(const std::u16string& key, const char16_t* name, const std::u16string& value) {
    if (failed_) return;
    HKEY h = nullptr;
    std::u16string path = kClasses + key;
    LONG rc = RegCreateKeyExW(root_, wide(path), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr);
    if (rc == ERROR_SUCCESS) {
      rc = RegSetValueExW(h, name ? reinterpret_cast<const wchar_t*>(name) : nullptr, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD((value.size() + 1) * sizeof(char16_t)));
      RegCloseKey(h);
    }
    if (rc != ERROR_SUCCESS) failed_ = HRESULT_FROM_WIN32(rc);
  }
  // Creates a key with no values.
  void create(const std::u16string& key) {
    if (failed_) return;
    HKEY h = nullptr;
    std::u16string path = kClasses + key;
    LONG rc = RegCreateKeyExW(root_, wide(path), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr);
    if (rc == ERROR_SUCCESS) RegCloseKey(h);
    else failed_ = HRESULT_FROM_WIN32(rc);
  }
  // Deletes a key and everything below it; a missing key is fine.
  void remove(const std::u16string& key) {
    std::u16string path = kClasses + key;
    LONG rc = RegDeleteTreeW(root_, wide(path));
    if (rc == ERROR_SUCCESS) RegDeleteKeyW(root_, wide(path));
    else if (rc != ERROR_FILE_NOT_FOUND && !failed_) failed_ = HRESULT_FROM_WIN32(rc);
  }
  // Whether the key exists.
  bool exists(const std::u16string& key) const {
    HKEY h = nullptr;
    std::u16string path = kClasses + key;
    if (RegOpenKeyExW(root_, wide(path), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
  }
  HRESULT result() const { return failed_; }

 private:
  static constexpr char16_t kClasses[] = u"Software\\Classes\\";
  HKEY root_;
  HRESULT failed_ = S_OK;
};

// The classes this build publishes: those of the list its type library holds.
template <class Visit>
void for_each_published(Visit&& visit) {
  ITypeLib* lib = type_library();
  for (const ClassInfo& info : class_list()) {
    ITypeInfo* ti = nullptr;
    if (lib && SUCCEEDED(lib->GetTypeInfoOfGuid(guid_from_string(info.clsid), &ti))) {
      ti->Release();
      visit(info);
    }
  }
}

void write_class(Registry& reg, const ClassInfo& info, const std::u16string& path) {
  const std::u16string clsid = ascii(info.clsid);
  const std::u16string key = u"CLSID\\" + clsid;
  const std::u16string name(info.name);
  const std::u16string version = std::u16string(1, char16_t(u'0' + kVersionMajor)) + u"." +
                                 std::u16string(1, char16_t(u'0' + kVersionMinor));
  reg.set(key, nullptr, name);
  reg.set(key + u"\\InprocServer32", nullptr, path);
  reg.set(key + u"\\InprocServer32", u"ThreadingModel", u"Apartment");
  reg.set(key + u"\\ProgID", nullptr, prog_id(info) + u".1");
  reg.set(key + u"\\VersionIndependentProgID", nullptr, prog_id(info));
  reg.set(key + u"\\TypeLib", nullptr, ascii(kLibraryId));
  reg.set(key + u"\\Version", nullptr, version);
  if (info.kind == ClassKind::kControl) {
    reg.create(key + u"\\Control");
    reg.set(key + u"\\MiscStatus", nullptr, u"0");
    reg.set(key + u"\\MiscStatus\\1", nullptr,
            qs::utf16(std::to_string(info.misc_status)));
    if (info.toolbox_bitmap)
      reg.set(key + u"\\ToolboxBitmap32", nullptr,
              path + u", " + qs::utf16(std::to_string(info.toolbox_bitmap)));
    reg.create(key + u"\\Implemented Categories\\" + kControlCategory);
  }
  reg.set(prog_id(info), nullptr, name);
  reg.set(prog_id(info) + u"\\CLSID", nullptr, clsid);
  reg.set(prog_id(info) + u"\\CurVer", nullptr, prog_id(info) + u".1");
  reg.set(prog_id(info) + u".1", nullptr, name);
  reg.set(prog_id(info) + u".1\\CLSID", nullptr, clsid);
}

void remove_class(Registry& reg, const ClassInfo& info) {
  reg.remove(u"CLSID\\" + ascii(info.clsid));
  reg.remove(prog_id(info));
  reg.remove(prog_id(info) + u".1");
}

// Runs a type library (un)registration with HKEY_CLASSES_ROOT mapped onto
// the user's classes. The platform's own per-user calls are used where they
// are real; some systems implement them as machine-wide registration, which
// would need administrator rights and leave keys behind for every user.
template <class Call>
HRESULT with_user_classes_root(Call&& call) {
  HKEY user_classes = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &user_classes, nullptr) != ERROR_SUCCESS)
    return TYPE_E_REGISTRYACCESS;
  LONG rc = RegOverridePredefKey(HKEY_CLASSES_ROOT, user_classes);
  HRESULT hr = rc == ERROR_SUCCESS ? call() : HRESULT_FROM_WIN32(rc);
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  RegCloseKey(user_classes);
  return hr;
}

HRESULT register_type_library_for_user(ITypeLib* lib, OLECHAR* path) {
  return with_user_classes_root([&] { return RegisterTypeLib(lib, path, nullptr); });
}

HRESULT unregister_type_library_for_user(REFGUID libid) {
  return with_user_classes_root(
      [&] { return UnRegisterTypeLib(libid, kVersionMajor, kVersionMinor, 0, kTypeLibSystem); });
}

}  // namespace

HRESULT register_server(RegistrationScope scope) {
  ITypeLib* lib = type_library();
  if (!lib) return TYPE_E_CANTLOADLIBRARY;
  const std::u16string path = module_path();
  Registry reg(scope);
  for_each_published([&](const ClassInfo& info) { write_class(reg, info, path); });
  HRESULT hr = reg.result();
  if (SUCCEEDED(hr)) {
    auto* full = const_cast<OLECHAR*>(wide(path));
    hr = scope == RegistrationScope::kUser ? register_type_library_for_user(lib, full)
                                           : RegisterTypeLib(lib, full, nullptr);
  }
  if (FAILED(hr)) unregister_server(scope);
  return hr;
}

HRESULT unregister_server(RegistrationScope scope) {
  Registry reg(scope);
  for_each_published([&](const ClassInfo& info) { remove_class(reg, info); });
  HRESULT hr = S_OK;
  // The platform reports a library that is not registered as a failure;
  // unregistering it again is not one.
  if (reg.exists(u"TypeLib\\" + ascii(kLibraryId))) {
    const GUID libid = guid_from_string(kLibraryId);
    hr = scope == RegistrationScope::kUser
             ? unregister_type_library_for_user(libid)
             : UnRegisterTypeLib(libid, kVersionMajor, kVersionMinor, 0, kTypeLibSystem);
  }
  if (FAILED(reg.result())) return reg.result();
  return hr;
}

}  // namespace qs::activex
