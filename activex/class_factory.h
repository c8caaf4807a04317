// Class factories for the classes of the class list that this server can
// create.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "library/class_list.h"

namespace qs::activex {

// The class factory of clsid; CLASS_E_CLASSNOTAVAILABLE for a class outside
// the list or one this server does not create.
HRESULT get_class_object(REFCLSID clsid, REFIID iid, void** out);

}  // namespace qs::activex
