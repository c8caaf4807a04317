// Holds a control's member table against its class in the type library.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "library/class_list.h"
#include "member_table.h"

namespace qs::activex {

// What disagrees between the class's default interface, event interface and
// enumerations in the type library and its member table, one line each;
// empty when every member has a row of the same kind and argument count,
// every row a member, every event its dispatch id and every enumeration
// member its value.
std::vector<std::u16string> member_table_problems(ITypeLib* library, const ClassInfo& info,
                                                  const MemberTable& table);

}  // namespace qs::activex
