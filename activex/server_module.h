// The server's module state: its handle, its path, and the count of live
// objects and locks that DllCanUnloadNow answers from.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace qs::activex {

// The DLL's module handle.
HMODULE module_handle();
// The full path of the DLL.
std::u16string module_path();

// Counts an object or a server lock in and out.
void add_module_ref();
void release_module_ref();
// Whether no object and no lock is alive.
bool module_unused();

// The embedded type library (loaded once per process, not registered).
ITypeLib* type_library();
// The type information of one interface or class of the library.
HRESULT type_info(REFGUID guid, ITypeInfo** out);

}  // namespace qs::activex
