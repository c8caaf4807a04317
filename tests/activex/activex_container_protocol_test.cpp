// What form designers and application hosts ask of an embedded control
// beyond the common path: verbs the control does not have, showing and
// hiding, deactivation, late binding by name with wrong calls, and the
// persistence questions a host asks before and around a save.
#include <gtest/gtest.h>

#include "tests/activex/addremove_client.h"

namespace qs::test {
namespace {

// A control given its defaults in a test site.
struct Sited {
  Sited() : site(new TestSite(true)) {
    control = create_addremove();
    control.As(&ole);
    control.As(&in_place);
    ole->SetClientSite(site);
    ComPtr<IPersistStreamInit> persist;
    control.As(&persist);
    persist->InitNew();
  }
  ~Sited() {
    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
    in_place.Reset();
    ole.Reset();
    control.Reset();
    site->Release();
  }
  HRESULT verb(LONG verb) {
    return ole->DoVerb(verb, nullptr, site, 0, site->window(), &site->position);
  }
  HWND window() {
    HWND hwnd = nullptr;
    in_place->GetWindow(&hwnd);
    return hwnd;
  }

  TestSite* site;
  ComPtr<_AddRemove> control;
  ComPtr<IOleObject> ole;
  ComPtr<IOleInPlaceObject> in_place;
};

DISPID dispid_of(IDispatch* d, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = 0;
  EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << name;
  return id;
}

std::wstring ltitle(_AddRemove* c) {
  BSTR b = nullptr;
  c->get_LTitle(&b);
  std::wstring text = b ? b : L"";
  SysFreeString(b);
  return text;
}

TEST(ContainerVerbs, UnsupportedVerbsFailSoTheContainerFallsBack) {
  Sited s;
  // A designer shows its own property frame when the control has no
  // properties verb of its own; a success answer would leave the user
  // with nothing.
  EXPECT_EQ(s.verb(OLEIVERB_PROPERTIES), E_NOTIMPL);
  EXPECT_EQ(s.verb(-99), E_NOTIMPL);
  EXPECT_EQ(s.window(), nullptr);
  // An unknown positive verb runs the primary verb and says so.
  EXPECT_EQ(s.verb(7), OLEOBJ_S_INVALIDVERB);
  EXPECT_NE(s.window(), nullptr);
  EXPECT_EQ(s.site->activated, 1);
}

TEST(ContainerVerbs, HideShowAndDeactivateKeepTheSiteInStep) {
  Sited s;
  ASSERT_EQ(s.verb(OLEIVERB_UIACTIVATE), S_OK);
  HWND hwnd = s.window();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(s.verb(OLEIVERB_HIDE), S_OK);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(s.verb(OLEIVERB_SHOW), S_OK);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(s.site->activated, 1);

  EXPECT_EQ(s.in_place->UIDeactivate(), S_OK);
  EXPECT_EQ(s.in_place->InPlaceDeactivate(), S_OK);
  EXPECT_EQ(s.in_place->InPlaceDeactivate(), S_OK);
  EXPECT_EQ(s.site->deactivated, 1);
  HWND after = reinterpret_cast<HWND>(1);
  EXPECT_EQ(s.in_place->GetWindow(&after), E_FAIL);
  EXPECT_EQ(after, nullptr);

  // Unsited and sited again, the control activates in the new place.
  EXPECT_EQ(s.ole->SetClientSite(nullptr), S_OK);
  ComPtr<IOleClientSite> none;
  EXPECT_EQ(s.ole->GetClientSite(&none), S_OK);
  EXPECT_EQ(none.Get(), nullptr);
  EXPECT_EQ(s.ole->SetClientSite(s.site), S_OK);
  EXPECT_EQ(s.verb(OLEIVERB_INPLACEACTIVATE), S_OK);
  EXPECT_EQ(s.site->activated, 2);
  EXPECT_NE(s.window(), nullptr);

  // Moved to another site while active, the control leaves the old site and
  // activates in the new one's window.
  auto* other = new TestSite(true);
  EXPECT_EQ(s.ole->SetClientSite(other), S_OK);
  EXPECT_EQ(s.site->deactivated, 2);
  EXPECT_EQ(s.ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, other, 0, other->window(),
                          &other->position), S_OK);
  EXPECT_EQ(other->activated, 1);
  EXPECT_EQ(GetParent(s.window()), other->window());
  EXPECT_EQ(s.ole->SetClientSite(nullptr), S_OK);
  EXPECT_EQ(other->deactivated, 1);
  other->Release();
}

TEST(ContainerDispatch, WrongCallsByNameFailWithTheDispatchErrors) {
  ComPtr<_AddRemove> c = new_addremove();
  ComPtr<IDispatch> d;
  ASSERT_EQ(c.As(&d), S_OK);

  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"NoSuchMember")};
  DISPID id = 0;
  EXPECT_EQ(d->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id),
            DISP_E_UNKNOWNNAME);
  EXPECT_EQ(id, DISPID_UNKNOWN);
  EXPECT_EQ(d->GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, &id), E_POINTER);
  EXPECT_EQ(d->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, nullptr), E_POINTER);

  const DISPID ltitle_id = dispid_of(d.Get(), L"LTitle");
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(L"Chosen");
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS put_params = {&value, &put, 1, 1};
  EXPECT_EQ(d->Invoke(ltitle_id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                      &put_params, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(ltitle(c.Get()), L"Chosen");

  // A reserved interface id other than IID_NULL is refused before the call.
  EXPECT_EQ(d->Invoke(ltitle_id, IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                      &put_params, nullptr, nullptr, nullptr), DISP_E_UNKNOWNINTERFACE);
  VariantClear(&value);

  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXPECT_EQ(d->Invoke(ltitle_id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &none,
                      nullptr, nullptr, nullptr), DISP_E_BADPARAMCOUNT);
  VARIANT two[2];
  VariantInit(&two[0]);
  VariantInit(&two[1]);
  V_VT(&two[0]) = VT_I2;
  V_VT(&two[1]) = VT_I2;
  DISPPARAMS too_many = {two, nullptr, 2, 0};
  EXPECT_EQ(d->Invoke(dispid_of(d.Get(), L"RRemoveItem"), IID_NULL, LOCALE_USER_DEFAULT,
                      DISPATCH_METHOD, &too_many, nullptr, nullptr, nullptr),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(d->Invoke(dispid_of(d.Get(), L"RRemoveItem"), IID_NULL, LOCALE_USER_DEFAULT,
                      DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(d->Invoke(ltitle_id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, nullptr,
                      nullptr, nullptr, nullptr), E_POINTER);
  EXPECT_EQ(d->Invoke(424242, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                      nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(ltitle(c.Get()), L"Chosen");

  // The optional index may be given or left out.
  VARIANT item[2];
  VariantInit(&item[0]);
  VariantInit(&item[1]);
  V_VT(&item[1]) = VT_BSTR;
  V_BSTR(&item[1]) = SysAllocString(L"Pear");
  V_VT(&item[0]) = VT_I2;
  V_I2(&item[0]) = 0;
  const DISPID ladd = dispid_of(d.Get(), L"LAddItem");
  DISPPARAMS item_only = {&item[1], nullptr, 1, 0};
  DISPPARAMS item_and_index = {item, nullptr, 2, 0};
  const size_t before = left_items(c.Get()).size();
  EXPECT_EQ(d->Invoke(ladd, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &item_only, nullptr,
                      nullptr, nullptr), S_OK);
  EXPECT_EQ(d->Invoke(ladd, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &item_and_index,
                      nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(left_items(c.Get()).size(), before + 2);
  VariantClear(&item[1]);
}

TEST(ContainerPersistence, SizeMaxAndBagLoadWithoutErrorLog) {
  ComPtr<_AddRemove> c = new_addremove();
  fill(c.Get());
  ComPtr<IPersistStreamInit> persist;
  ASSERT_EQ(c.As(&persist), S_OK);
  EXPECT_EQ(persist->GetSizeMax(nullptr), E_POINTER);
  ULARGE_INTEGER max = {};
  ASSERT_EQ(persist->GetSizeMax(&max), S_OK);

  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ASSERT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
  STATSTG stat = {};
  ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_GE(max.QuadPart, stat.cbSize.QuadPart);
  EXPECT_GT(stat.cbSize.QuadPart, 0u);
  // Asking for the size is not a change.
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ASSERT_EQ(persist->GetSizeMax(&max), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);

  auto* bag = new RecordingPropertyBag;
  ComPtr<IPersistPropertyBag> bag_persist;
  ASSERT_EQ(c.As(&bag_persist), S_OK);
  ASSERT_EQ(bag_persist->Save(bag, TRUE, TRUE), S_OK);
  ComPtr<_AddRemove> copy = create_addremove();
  ComPtr<IPersistPropertyBag> copy_persist;
  ASSERT_EQ(copy.As(&copy_persist), S_OK);
  EXPECT_EQ(copy_persist->Load(bag, nullptr), S_OK);
  EXPECT_EQ(state_of(copy.Get()), state_of(c.Get()));
  bag->Release();
}

}  // namespace
}  // namespace qs::test
