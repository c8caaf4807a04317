// The functions a type-library interface declares, read once into plain
// values: the dispatch, the event raising and the member-table check all
// work from this list.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace qs::activex {

struct TypeMember {
  std::u16string name;
  DISPID id;
  INVOKEKIND kind;
  UINT fewest;  // arguments it needs (the return value and locale not counted)
  UINT most;    // arguments it takes; UINT_MAX for a variable list
  // The type each parameter points to (VT_VARIANT where it is no pointer).
  std::vector<VARTYPE> pointed;
};

// Every function the interface itself declares, in its order.
std::vector<TypeMember> type_members(ITypeInfo* info);

}  // namespace qs::activex
