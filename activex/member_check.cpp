#include "member_check.h"

#include "com_util.h"
#include "type_members.h"

namespace qs::activex {
namespace {

std::u16string name_of(ITypeInfo* info, MEMBERID id) {
  BSTR name = nullptr;
  if (FAILED(info->GetDocumentation(id, &name, nullptr, nullptr, nullptr))) return u"";
  std::u16string text = from_bstr(name);
  SysFreeString(name);
  return text;
}

const char16_t* kind_name(INVOKEKIND kind) {
  switch (kind) {
    case INVOKE_PROPERTYGET: return u"getter";
    case INVOKE_PROPERTYPUT: return u"setter";
    case INVOKE_PROPERTYPUTREF: return u"reference setter";
    default: return u"method";
  }
}

std::u16string number(long n) {
  std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

// The type information of the interface (not its dispatch view).
ComPtr<ITypeInfo> interface_info(ITypeLib* library, const char* iid) {
  ComPtr<ITypeInfo> info;
  if (!iid || FAILED(library->GetTypeInfoOfGuid(guid_from_string(iid), info.put()))) return {};
  HREFTYPE ref = 0;
  ComPtr<ITypeInfo> vtable;
  if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &ref)) &&
      SUCCEEDED(info->GetRefTypeInfo(ref, vtable.put())))
    return vtable;
  return info;
}

void check_members(ITypeLib* library, const ClassInfo& info, const MemberTable& table,
                   std::vector<std::u16string>& problems) {
  ComPtr<ITypeInfo> iface = interface_info(library, info.default_iid);
  if (!iface) {
    problems.push_back(std::u16string(info.default_interface) + u" is not in the type library");
    return;
  }
  const std::vector<TypeMember> functions = type_members(iface.get());
  const std::u16string where = std::u16string(info.default_interface) + u".";
  for (const TypeMember& f : functions) {
    const MemberRow* row = table.find(f.name);
    if (!row) {
      problems.push_back(where + f.name + u" has no row");
      continue;
    }
    bool has = false;
    int expected = 0;
    switch (f.kind) {
      case INVOKE_PROPERTYGET: has = bool(row->get); expected = row->index_count; break;
      case INVOKE_PROPERTYPUT:
      case INVOKE_PROPERTYPUTREF: has = bool(row->put); expected = row->index_count + 1; break;
      default: has = bool(row->call); expected = row->arg_count; break;
    }
    if (!has)
      problems.push_back(where + f.name + u": the row has no " + kind_name(f.kind));
    else if (UINT(expected) != f.most)
      problems.push_back(where + f.name + u": the " + kind_name(f.kind) + u" takes " +
                         number(long(f.most)) + u" arguments, the row " + number(expected));
  }
  auto declares = [&](std::u16string_view name, auto pred) {
    for (const TypeMember& f : functions)
      if (f.name == name && pred(f.kind)) return true;
    return false;
  };
  for (const MemberRow& row : table.rows) {
    const std::u16string name = where + std::u16string(row.name);
    if (!declares(row.name, [](INVOKEKIND) { return true; })) {
      problems.push_back(u"row " + name + u" has no member");
      continue;
    }
    if (row.get && !declares(row.name, [](INVOKEKIND k) { return k == INVOKE_PROPERTYGET; }))
      problems.push_back(u"row " + name + u" has a getter the member lacks");
    if (row.put && !declares(row.name, [](INVOKEKIND k) {
          return k == INVOKE_PROPERTYPUT || k == INVOKE_PROPERTYPUTREF;
        }))
      problems.push_back(u"row " + name + u" has a setter the member lacks");
    if (row.call && !declares(row.name, [](INVOKEKIND k) { return k == INVOKE_FUNC; }))
      problems.push_back(u"row " + name + u" is a method the member is not");
  }
}

void check_events(ITypeLib* library, const ClassInfo& info, const MemberTable& table,
                  std::vector<std::u16string>& problems) {
  std::vector<TypeMember> events;
  if (info.event_iid) {
    ComPtr<ITypeInfo> source;
    if (FAILED(library->GetTypeInfoOfGuid(guid_from_string(info.event_iid), source.put()))) {
      problems.push_back(std::u16string(info.event_interface) + u" is not in the type library");
      return;
    }
    events = type_members(source.get());
  }
  const std::u16string where = std::u16string(info.event_interface) + u".";
  for (const TypeMember& e : events) {
    bool found = false;
    for (const EventDecl& d : table.events) {
      if (d.name != e.name) continue;
      found = true;
      if (d.dispid != e.id)
        problems.push_back(where + e.name + u" is event " + number(e.id) + u", the control raises " +
                           number(d.dispid));
    }
    if (!found) problems.push_back(where + e.name + u" is not declared by the control");
  }
  for (const EventDecl& d : table.events) {
    bool found = false;
    for (const TypeMember& e : events) found = found || e.name == d.name;
    if (!found) problems.push_back(u"event " + where + std::u16string(d.name) + u" is not in the type library");
  }
  if (int(events.size()) != info.event_count)
    problems.push_back(where + u" has " + number(long(events.size())) + u" events, the class list " +
                       number(info.event_count));
}

void check_enums(ITypeLib* library, const MemberTable& table,
                 std::vector<std::u16string>& problems) {
  for (const EnumDecl& decl : table.enums) {
    ComPtr<ITypeInfo> found;
    for (UINT i = 0, n = library->GetTypeInfoCount(); i < n && !found; ++i) {
      TYPEKIND kind;
      if (FAILED(library->GetTypeInfoType(i, &kind)) || kind != TKIND_ENUM) continue;
      BSTR name = nullptr;
      if (FAILED(library->GetDocumentation(INT(i), &name, nullptr, nullptr, nullptr))) continue;
      if (from_bstr(name) == decl.name) library->GetTypeInfo(i, found.put());
      SysFreeString(name);
    }
    const std::u16string where = std::u16string(decl.name);
    if (!found) {
      problems.push_back(u"enumeration " + where + u" is not in the type library");
      continue;
    }
    TYPEATTR* attr = nullptr;
    if (FAILED(found->GetTypeAttr(&attr))) continue;
    const WORD count = attr->cVars;
    found->ReleaseTypeAttr(attr);
    std::vector<std::pair<std::u16string, long>> members;
    for (WORD v = 0; v < count; ++v) {
      VARDESC* var = nullptr;
      if (FAILED(found->GetVarDesc(v, &var))) continue;
      VARIANT value;
      VariantInit(&value);
      if (var->varkind == VAR_CONST && var->lpvarValue &&
          SUCCEEDED(VariantChangeType(&value, var->lpvarValue, 0, VT_I4)))
        members.emplace_back(name_of(found.get(), var->memid), V_I4(&value));
      found->ReleaseVarDesc(var);
    }
    for (const auto& [name, value] : members) {
      bool ok = false;
      for (const auto& [dname, dvalue] : decl.members) ok = ok || (dname == name && dvalue == value);
      if (!ok) problems.push_back(where + u"." + name + u" = " + number(value) + u" differs in the control");
    }
    for (const auto& [dname, dvalue] : decl.members) {
      bool ok = false;
      for (const auto& [name, value] : members) ok = ok || name == dname;
      if (!ok) problems.push_back(where + u"." + std::u16string(dname) + u" is not in the type library");
    }
  }
}

}  // namespace

std::vector<std::u16string> member_table_problems(ITypeLib* library, const ClassInfo& info,
                                                  const MemberTable& table) {
  std::vector<std::u16string> problems;
  if (!library) return {u"no type library"};
  check_members(library, info, table, problems);
  check_events(library, info, table, problems);
  check_enums(library, table, problems);
  return problems;
}

}  // namespace qs::activex
