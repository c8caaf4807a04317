// Self-registration: the classes of the class list that the type library
// describes, with their ProgIDs, and the type library itself.
#pragma once

#include <windows.h>

namespace qs::activex {

enum class RegistrationScope { kMachine, kUser };

// Writes every key of every published class and registers the type
// library; on failure removes what it wrote.
HRESULT register_server(RegistrationScope scope);
// Removes every key and the type library registration; keys already
// missing are not an error.
HRESULT unregister_server(RegistrationScope scope);

}  // namespace qs::activex
