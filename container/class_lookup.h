// Creating a control by ProgID, including classes registered for the
// current user only.
#pragma once

#include <windows.h>

#include <string>

namespace qs::container {

// Creates an instance of the class a ProgID names. The platform's lookup is
// tried first; if it does not know the class, the current user's
// registration (HKCU\Software\Classes) is read and the in-process server is
// loaded directly, as a system that merges per-user classes would.
HRESULT create_by_prog_id(const std::wstring& prog_id, REFIID iid, void** out);

}  // namespace qs::container
