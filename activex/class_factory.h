// Class factories for the classes of the class list that this server can
// create.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "library/class_list.h"

namespace qs::activex {

using CreateFunction = HRESULT (*)(REFIID iid, void** out);

// How to create the objects of a class of the list; null where this server
// cannot create them (yet).
CreateFunction creator_of(const ClassInfo& info);

// The class factory of clsid; CLASS_E_CLASSNOTAVAILABLE for a class outside
// the list or without a creator.
HRESULT get_class_object(REFCLSID clsid, REFIID iid, void** out);

}  // namespace qs::activex
