// Creating AddRemove through COM, the class factory's rules, unloading, and
// the embedded type library against the class table.
#include <gtest/gtest.h>

#include "tests/activex/addremove_client.h"

namespace qs::test {
namespace {

using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using CanUnloadNow = HRESULT(WINAPI*)();

// An entry point of the server by name.
template <class F>
F entry(HMODULE dll, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

struct Server {
  HMODULE dll = LoadLibraryW(ocx_path().c_str());
  GetClassObject get_class_object = entry<GetClassObject>(dll, "DllGetClassObject");
  CanUnloadNow can_unload_now = entry<CanUnloadNow>(dll, "DllCanUnloadNow");
  ~Server() { FreeLibrary(dll); }
};

TEST(Creation, ByProgIdAndWithoutRegistration) {
  ComPtr<_AddRemove> by_prog_id = new_addremove();
  ASSERT_TRUE(by_prog_id);
  BSTR title = nullptr;
  EXPECT_EQ(by_prog_id->get_LTitle(&title), S_OK);
  EXPECT_STREQ(title, L"List1");
  SysFreeString(title);

  Server server;
  ASSERT_NE(server.get_class_object, nullptr);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(server.get_class_object(guid(addremove_info().clsid), IID_IClassFactory,
                                    reinterpret_cast<void**>(factory.GetAddressOf())),
            S_OK);
  ComPtr<IOleObject> object;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IOleObject,
                                    reinterpret_cast<void**>(object.GetAddressOf())),
            S_OK);
  ComPtr<_AddRemove> direct;
  EXPECT_EQ(object.As(&direct), S_OK);
  DWORD misc = 0;
  EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
  EXPECT_EQ(misc, addremove_info().misc_status);

  // Aggregation is refused; so are classes outside the table.
  ComPtr<IUnknown> aggregated;
  EXPECT_EQ(factory->CreateInstance(object.Get(), IID_IUnknown,
                                    reinterpret_cast<void**>(aggregated.GetAddressOf())),
            CLASS_E_NOAGGREGATION);
  ComPtr<IClassFactory> none;
  EXPECT_EQ(server.get_class_object(IID_IDispatch, IID_IClassFactory,
                                    reinterpret_cast<void**>(none.GetAddressOf())),
            CLASS_E_CLASSNOTAVAILABLE);
}

TEST(Creation, CanUnloadOnlyOnceEveryObjectAndLockIsReleased) {
  Server server;
  ASSERT_NE(server.can_unload_now, nullptr);
  EXPECT_EQ(server.can_unload_now(), S_OK);

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(server.get_class_object(guid(addremove_info().clsid), IID_IClassFactory,
                                    reinterpret_cast<void**>(factory.GetAddressOf())),
            S_OK);
  EXPECT_EQ(server.can_unload_now(), S_FALSE);
  ComPtr<IUnknown> object;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown,
                                    reinterpret_cast<void**>(object.GetAddressOf())),
            S_OK);
  factory->LockServer(TRUE);
  factory.Reset();
  EXPECT_EQ(server.can_unload_now(), S_FALSE);

  // Objects handed out by the control keep it alive too.
  ComPtr<IConnectionPointContainer> cpc;
  ASSERT_EQ(object.As(&cpc), S_OK);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(cpc->FindConnectionPoint(IID_IPropertyNotifySink, point.GetAddressOf()), S_OK);
  object.Reset();
  cpc.Reset();
  EXPECT_EQ(server.can_unload_now(), S_FALSE);
  point.Reset();
  EXPECT_EQ(server.can_unload_now(), S_FALSE);  // still locked

  ASSERT_EQ(server.get_class_object(guid(addremove_info().clsid), IID_IClassFactory,
                                    reinterpret_cast<void**>(factory.GetAddressOf())),
            S_OK);
  factory->LockServer(FALSE);
  factory.Reset();
  EXPECT_EQ(server.can_unload_now(), S_OK);
}

// The names of a type's functions in slot order, with their first slot.
std::vector<std::wstring> function_names(ITypeInfo* info, SHORT* first_slot) {
  std::vector<std::wstring> names;
  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  *first_slot = -1;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* fd = nullptr;
    info->GetFuncDesc(i, &fd);
    BSTR name = nullptr;
    UINT count = 0;
    info->GetNames(fd->memid, &name, 1, &count);
    if (names.empty() || names.back() != name) names.emplace_back(name);
    if (i == 0) *first_slot = fd->oVft;
    SysFreeString(name);
    info->ReleaseFuncDesc(fd);
  }
  info->ReleaseTypeAttr(attr);
  return names;
}

TEST(TypeLibrary, AgreesWithTheClassTable) {
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(LoadTypeLibEx(ocx_path().c_str(), REGKIND_NONE, lib.GetAddressOf()), S_OK);
  TLIBATTR* lib_attr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&lib_attr), S_OK);
  EXPECT_EQ(lib_attr->guid, guid(kLibraryId));
  EXPECT_EQ(lib_attr->wMajorVerNum, kVersionMajor);
  EXPECT_EQ(lib_attr->wMinorVerNum, kVersionMinor);
  lib->ReleaseTLibAttr(lib_attr);
  BSTR name = nullptr;
  lib->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
  EXPECT_EQ(std::wstring(name), wide_w(kLibraryName));
  SysFreeString(name);

  const std::vector<const ClassInfo*> published = published_classes();
  ASSERT_GE(published.size(), 3u);
  for (const ClassInfo* c : published) {
    SCOPED_TRACE(wide_w(c->name));
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(guid(c->clsid), coclass.GetAddressOf()), S_OK);
    BSTR coclass_name = nullptr;
    coclass->GetDocumentation(MEMBERID_NIL, &coclass_name, nullptr, nullptr, nullptr);
    EXPECT_EQ(std::wstring(coclass_name), wide_w(c->name));
    SysFreeString(coclass_name);
    TYPEATTR* attr = nullptr;
    coclass->GetTypeAttr(&attr);
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    EXPECT_EQ((attr->wTypeFlags & TYPEFLAG_FCONTROL) != 0, c->kind == ClassKind::kControl);
    const UINT impl_count = attr->cImplTypes;
    coclass->ReleaseTypeAttr(attr);
    EXPECT_EQ(impl_count, c->event_iid ? 2u : 1u);
    for (UINT i = 0; i < impl_count; ++i) {
      INT flags = 0;
      coclass->GetImplTypeFlags(i, &flags);
      HREFTYPE ref = 0;
      coclass->GetRefTypeOfImplType(i, &ref);
      ComPtr<ITypeInfo> iface;
      coclass->GetRefTypeInfo(ref, iface.GetAddressOf());
      TYPEATTR* ia = nullptr;
      iface->GetTypeAttr(&ia);
      BSTR iface_name = nullptr;
      iface->GetDocumentation(MEMBERID_NIL, &iface_name, nullptr, nullptr, nullptr);
      if (flags & IMPLTYPEFLAG_FSOURCE) {
        EXPECT_EQ(ia->guid, guid(c->event_iid));
        EXPECT_EQ(std::wstring(iface_name), wide_w(c->event_interface));
        EXPECT_EQ(ia->cFuncs, c->event_count);
      } else {
        EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
        EXPECT_EQ(ia->guid, guid(c->default_iid));
        EXPECT_EQ(std::wstring(iface_name), wide_w(c->default_interface));
        const WORD wanted = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE;
        EXPECT_EQ(ia->wTypeFlags & wanted, wanted);
      }
      SysFreeString(iface_name);
      iface->ReleaseTypeAttr(ia);
    }
  }
}

TEST(TypeLibrary, AddRemoveMembersInSlotOrderAfterIDispatch) {
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(LoadTypeLibEx(ocx_path().c_str(), REGKIND_NONE, lib.GetAddressOf()), S_OK);
  ComPtr<ITypeInfo> dispatch;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(guid(addremove_info().default_iid), dispatch.GetAddressOf()),
            S_OK);
  HREFTYPE ref = 0;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &ref), S_OK);
  ComPtr<ITypeInfo> vtable;
  ASSERT_EQ(dispatch->GetRefTypeInfo(ref, vtable.GetAddressOf()), S_OK);
  SHORT first_slot = 0;
  const std::vector<std::wstring> expected = {
      L"Load_Lists", L"Save_Lists", L"ShowAboutBox", L"BackColor", L"ForeColor", L"Enabled",
      L"Font", L"BackStyle", L"BorderStyle", L"Refresh", L"Orientation", L"Llist",
      L"LItemData", L"RList", L"LAddItem", L"LRemoveItem", L"RAddItem", L"RRemoveItem",
      L"RItemData", L"LTitle", L"RTitle", L"ShowTitles", L"LeftList", L"RightList",
      L"LeftListItemData", L"RightListItemData"};
  EXPECT_EQ(function_names(vtable.Get(), &first_slot), expected);
  // The first member follows IDispatch's seven methods.
  EXPECT_EQ(first_slot, SHORT(7 * sizeof(void*)));

  LPOLESTR about = const_cast<LPOLESTR>(L"ShowAboutBox");
  DISPID id = 0;
  EXPECT_EQ(dispatch->GetIDsOfNames(&about, 1, &id), S_OK);
  EXPECT_EQ(id, -552);

  ComPtr<ITypeInfo> events;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(guid(addremove_info().event_iid), events.GetAddressOf()), S_OK);
  LPOLESTR change = const_cast<LPOLESTR>(L"Change");
  EXPECT_EQ(events->GetIDsOfNames(&change, 1, &id), S_OK);
  EXPECT_EQ(id, 1);

  // The orientation enumeration with its two members.
  ComPtr<ITypeComp> comp;
  ASSERT_EQ(lib->GetTypeComp(comp.GetAddressOf()), S_OK);
  for (auto [member, value] : {std::pair{L"qrLeftToRight", 0}, std::pair{L"qrRightToLeft", 1}}) {
    ComPtr<ITypeInfo> bound_info;
    DESCKIND kind = DESCKIND_NONE;
    BINDPTR bound = {};
    ASSERT_EQ(comp->Bind(const_cast<LPOLESTR>(member), LHashValOfName(0, member), 0,
                         bound_info.GetAddressOf(), &kind, &bound),
              S_OK);
    ASSERT_EQ(kind, DESCKIND_VARDESC);
    EXPECT_EQ(V_I4(bound.lpvardesc->lpvarValue), value);
    bound_info->ReleaseVarDesc(bound.lpvardesc);
  }
}

TEST(ClassInformation, ProvidesClassInfoEventsAndPages) {
  ComPtr<_AddRemove> c = new_addremove();
  ASSERT_TRUE(c);
  ComPtr<IProvideClassInfo2> info;
  ASSERT_EQ(c.As(&info), S_OK);
  GUID events = GUID_NULL;
  EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  EXPECT_EQ(events, guid(addremove_info().event_iid));
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(info->GetClassInfo(coclass.GetAddressOf()), S_OK);
  TYPEATTR* attr = nullptr;
  coclass->GetTypeAttr(&attr);
  EXPECT_EQ(attr->guid, guid(addremove_info().clsid));
  coclass->ReleaseTypeAttr(attr);

  ComPtr<ISpecifyPropertyPages> pages;
  ASSERT_EQ(c.As(&pages), S_OK);
  CAUUID list = {};
  ASSERT_EQ(pages->GetPages(&list), S_OK);
  ASSERT_EQ(list.cElems, 4u);
  EXPECT_EQ(list.pElems[0], guid(find_class(u"LeftList")->clsid));
  EXPECT_EQ(list.pElems[1], guid(find_class(u"RightList")->clsid));
  EXPECT_EQ(list.pElems[2], guid("{7EBDAAE1-8120-11CF-899F-00AA00688B10}"));  // colour page
  EXPECT_EQ(list.pElems[3], guid("{7EBDAAE0-8120-11CF-899F-00AA00688B10}"));  // font page
  CoTaskMemFree(list.pElems);

  ComPtr<IEnumConnectionPoints> points_enum;
  ComPtr<IConnectionPointContainer> cpc;
  ASSERT_EQ(c.As(&cpc), S_OK);
  ASSERT_EQ(cpc->EnumConnectionPoints(points_enum.GetAddressOf()), S_OK);
  std::vector<IID> iids;
  IConnectionPoint* point = nullptr;
  while (points_enum->Next(1, &point, nullptr) == S_OK) {
    IID iid = GUID_NULL;
    point->GetConnectionInterface(&iid);
    iids.push_back(iid);
    point->Release();
  }
  EXPECT_EQ(iids, (std::vector<IID>{guid(addremove_info().event_iid), IID_IPropertyNotifySink}));
}

}  // namespace
}  // namespace qs::test
