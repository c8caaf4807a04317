// The server's exported entry points.
#include <windows.h>
#include <ole2.h>

#include <cwctype>

#include "class_factory.h"
#include "error_info.h"
#include "registration.h"
#include "platform/win32/win32_platform.h"
#include "server_module.h"

using qs::activex::RegistrationScope;

extern "C" {

// On FreeLibrary the window classes go with the code they point at, so a
// later load registers them afresh. At process exit nothing needs undoing.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) qs::win32::unregister_window_classes();
  return TRUE;
}

// Hands out the class factory of a class of the list.
STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return qs::activex::entry_guard([&] { return qs::activex::get_class_object(clsid, iid, out); });
}

// S_OK once no object and no server lock is alive.
STDAPI DllCanUnloadNow() { return qs::activex::module_unused() ? S_OK : S_FALSE; }

// Registers the classes and the type library for every user.
STDAPI DllRegisterServer() {
  return qs::activex::entry_guard(
      [] { return qs::activex::register_server(RegistrationScope::kMachine); });
}

// Removes what DllRegisterServer wrote.
STDAPI DllUnregisterServer() {
  return qs::activex::entry_guard(
      [] { return qs::activex::unregister_server(RegistrationScope::kMachine); });
}

// regsvr32 /n /i:user registers for the current user only (no
// administrator rights needed); without "user" it registers machine-wide.
STDAPI DllInstall(BOOL install, LPCWSTR command_line) {
  bool user = command_line && _wcsicmp(command_line, L"user") == 0;
  RegistrationScope scope = user ? RegistrationScope::kUser : RegistrationScope::kMachine;
  return qs::activex::entry_guard([&] {
    return install ? qs::activex::register_server(scope) : qs::activex::unregister_server(scope);
  });
}

}  // extern "C"
