// AddRemove embedded in a container: in-place activation in the site's
// window, ambient properties, drawing, events through the connection point
// driven by real window messages, change notification and errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

#include "tests/activex/addremove_client.h"

namespace qs::test {
namespace {

struct Child {
  HWND hwnd;
  std::wstring kind;  // lower-case window class
  std::wstring text;
  RECT rect;          // in the control's client coordinates
};

struct ChildWalk {
  HWND parent;
  std::vector<Child>* out;
};

BOOL CALLBACK collect_child(HWND hwnd, LPARAM p) {
  auto* w = reinterpret_cast<ChildWalk*>(p);
  wchar_t kind[64] = {}, text[64] = {};
  GetClassNameW(hwnd, kind, 64);
  GetWindowTextW(hwnd, text, 64);
  std::wstring k = kind;
  std::transform(k.begin(), k.end(), k.begin(), ::towlower);
  RECT r = {};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, w->parent, reinterpret_cast<POINT*>(&r), 2);
  w->out->push_back({hwnd, k, text, r});
  return TRUE;
}

std::vector<Child> children_of(HWND parent) {
  std::vector<Child> out;
  ChildWalk walk{parent, &out};
  EnumChildWindows(parent, &collect_child, reinterpret_cast<LPARAM>(&walk));
  return out;
}

HWND button(HWND control, const wchar_t* caption) {
  for (const Child& c : children_of(control))
    if (c.kind == L"button" && c.text == caption) return c.hwnd;
  return nullptr;
}

// The right list: the list box further right.
HWND right_list(HWND control) {
  HWND best = nullptr;
  LONG best_left = -1;
  for (const Child& c : children_of(control)) {
    if (c.kind == L"listbox" && c.rect.left > best_left) {
      best = c.hwnd;
      best_left = c.rect.left;
    }
  }
  return best;
}

// Presses and releases the left button on item index, as a user's click does.
void click_item(HWND list, int index) {
  RECT r = {};
  ASSERT_NE(SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)), LB_ERR);
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
  pump_messages();
}

void click(HWND button) {
  ASSERT_NE(button, nullptr);
  SendMessageW(button, BM_CLICK, 0, 0);
  pump_messages();
}

void add_right(_AddRemove* c, const wchar_t* item) {
  VARIANT missing;
  VariantInit(&missing);
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  BSTR b = SysAllocString(item);
  c->RAddItem(b, missing);
  SysFreeString(b);
}

// A control embedded in a test site and activated in place.
struct Embedded {
  explicit Embedded(bool ambients = true) : site(new TestSite(ambients)) {
    control = create_addremove();
    control.As(&ole);
    ole->SetClientSite(site);
    ComPtr<IPersistStreamInit> persist;
    control.As(&persist);
    persist->InitNew();
  }
  ~Embedded() {
    if (ole) {
      ole->Close(OLECLOSE_NOSAVE);
      ole->SetClientSite(nullptr);
    }
    ole.Reset();
    control.Reset();
    site->Release();
  }
  HRESULT activate() {
    return ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, site->window(),
                       &site->position);
  }
  HWND window() {
    ComPtr<IOleInPlaceObject> in_place;
    control.As(&in_place);
    HWND hwnd = nullptr;
    in_place->GetWindow(&hwnd);
    return hwnd;
  }

  TestSite* site;
  ComPtr<_AddRemove> control;
  ComPtr<IOleObject> ole;
};

TEST(Embedding, InPlaceActivationAttachesTheControlsWindowAndCloseDetachesIt) {
  Embedded e;
  ASSERT_EQ(e.activate(), S_OK);
  EXPECT_EQ(e.site->activated, 1);
  EXPECT_GE(e.site->shown, 1);
  HWND hwnd = e.window();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(GetParent(hwnd), e.site->window());
  EXPECT_TRUE(IsWindowVisible(hwnd));
  RECT client = {};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 240);
  // Lists, four buttons: the children are real windows.
  std::vector<Child> children = children_of(hwnd);
  EXPECT_EQ(std::count_if(children.begin(), children.end(),
                          [](const Child& c) { return c.kind == L"listbox"; }),
            2);
  for (const wchar_t* caption : {L"<", L"<<", L">", L">>"})
    EXPECT_NE(button(hwnd, caption), nullptr) << caption;

  // The object rectangles size the window.
  ComPtr<IOleInPlaceObject> in_place;
  ASSERT_EQ(e.control.As(&in_place), S_OK);
  RECT moved = {20, 30, 320, 230};
  ASSERT_EQ(in_place->SetObjectRects(&moved, &moved), S_OK);
  RECT now = {};
  GetWindowRect(hwnd, &now);
  MapWindowPoints(nullptr, e.site->window(), reinterpret_cast<POINT*>(&now), 2);
  EXPECT_EQ(now.left, 20);
  EXPECT_EQ(now.top, 30);
  EXPECT_EQ(now.right - now.left, 300);
  EXPECT_EQ(now.bottom - now.top, 200);
  SIZEL extent = {};
  ASSERT_EQ(e.ole->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_NEAR(extent.cx, MulDiv(300, 2540, 96), 30);

  ASSERT_EQ(e.ole->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(e.site->deactivated, 1);
  EXPECT_NE(GetParent(hwnd), e.site->window());
  EXPECT_FALSE(IsChild(e.site->window(), hwnd));
  EXPECT_EQ(e.ole->SetClientSite(nullptr), S_OK);
  // Still a working object, and it can be activated again.
  BSTR title = SysAllocString(L"Again");
  EXPECT_EQ(e.control->put_LTitle(title), S_OK);
  SysFreeString(title);
  ASSERT_EQ(e.ole->SetClientSite(e.site), S_OK);
  ASSERT_EQ(e.activate(), S_OK);
  EXPECT_EQ(e.site->activated, 2);
  EXPECT_EQ(GetParent(e.window()), e.site->window());
}

TEST(Embedding, TakesTheAmbientFontOrFallsBackToTheDefault) {
  {
    // The site's ambient font is Arial 11 pt.
    Embedded with(true);
    AddRemoveState s = state_of(with.control.Get());
    EXPECT_EQ(std::pair(s.font_name, s.font_size), realised(L"Arial", 110000));
  }
  // A site without ambient properties: the default font, and run mode.
  Embedded without(false);
  AddRemoveState s = state_of(without.control.Get());
  EXPECT_EQ(std::pair(s.font_name, s.font_size), realised(L"MS Sans Serif", 82500));
  EXPECT_EQ(without.activate(), S_OK);
}

TEST(Embedding, DrawsThroughTheViewObject) {
  ComPtr<_AddRemove> c = new_addremove();
  ComPtr<IOleObject> ole;
  ASSERT_EQ(c.As(&ole), S_OK);
  SIZEL extent = {MulDiv(200, 2540, 96), MulDiv(100, 2540, 96)};
  ASSERT_EQ(ole->SetExtent(DVASPECT_CONTENT, &extent), S_OK);
  ASSERT_EQ(c->put_BackColor(RGB(255, 0, 0)), S_OK);

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 240, 140);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, 240, 140};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ComPtr<IViewObject2> view;
  ASSERT_EQ(c.As(&view), S_OK);
  RECTL bounds = {0, 0, 200, 100};
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr,
                       nullptr, 0),
            S_OK);
  int red = 0, outside_changed = 0;
  for (int y = 0; y < 140; ++y) {
    for (int x = 0; x < 240; ++x) {
      COLORREF p = GetPixel(dc, x, y);
      if (x < 200 && y < 100 && p == RGB(255, 0, 0)) ++red;
      if ((x >= 200 || y >= 100) && p != RGB(255, 255, 255)) ++outside_changed;
    }
  }
  EXPECT_GT(red, 0);
  EXPECT_EQ(outside_changed, 0);
  EXPECT_EQ(view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr,
                       nullptr, 0),
            DV_E_DVASPECT);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(Events, ChangeArrivesAfterEachTransferDrivenByWindowMessages) {
  Embedded e;
  for (const wchar_t* item : {L"A", L"B", L"C"}) add_right(e.control.Get(), item);
  ASSERT_EQ(e.activate(), S_OK);
  HWND hwnd = e.window();

  ComPtr<IConnectionPointContainer> cpc;
  ASSERT_EQ(e.control.As(&cpc), S_OK);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(cpc->FindConnectionPoint(guid(addremove_info().event_iid), point.GetAddressOf()),
            S_OK);
  auto* sink = new EventSink(guid(addremove_info().event_iid));
  // What the lists held when each event arrived: Change is the last step.
  std::vector<std::pair<std::vector<std::wstring>, std::vector<std::wstring>>> seen;
  sink->on_event = [&](DISPID) {
    seen.emplace_back(left_items(e.control.Get()), right_items(e.control.Get()));
  };
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(sink, &cookie), S_OK);

  // Select B in the right list and press "<".
  click_item(right_list(hwnd), 1);
  EXPECT_TRUE(IsWindowEnabled(button(hwnd, L"<")));
  EXPECT_TRUE(sink->events.empty());
  click(button(hwnd, L"<"));
  ASSERT_EQ(sink->events, std::vector<DISPID>{1});
  EXPECT_EQ(seen[0].first, std::vector<std::wstring>{L"B"});
  EXPECT_EQ(seen[0].second, (std::vector<std::wstring>{L"A", L"C"}));
  EXPECT_TRUE(IsWindowEnabled(button(hwnd, L"<")));   // A is selected again
  EXPECT_FALSE(IsWindowEnabled(button(hwnd, L"<<")));
  EXPECT_TRUE(IsWindowEnabled(button(hwnd, L">>")));

  // ">>" moves everything back, one more Change.
  click(button(hwnd, L">>"));
  ASSERT_EQ(sink->events, (std::vector<DISPID>{1, 1}));
  EXPECT_TRUE(seen[1].first.empty());
  EXPECT_EQ(seen[1].second, (std::vector<std::wstring>{L"A", L"C", L"B"}));

  // Methods and properties raise no Change.
  add_right(e.control.Get(), L"D");
  e.control->RRemoveItem(0);
  EXPECT_EQ(sink->events.size(), 2u);

  // Disconnected, the sink hears nothing more.
  ASSERT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  click(button(hwnd, L"<<"));
  EXPECT_EQ(sink->events.size(), 2u);
  EXPECT_EQ(left_items(e.control.Get()), (std::vector<std::wstring>{L"C", L"B", L"D"}));
  sink->Release();
}

TEST(Events, OnChangedOncePerAssignmentWithThePropertysDispid) {
  ComPtr<_AddRemove> c = new_addremove();
  ComPtr<IConnectionPointContainer> cpc;
  ASSERT_EQ(c.As(&cpc), S_OK);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(cpc->FindConnectionPoint(IID_IPropertyNotifySink, point.GetAddressOf()), S_OK);
  auto* sink = new NotifySink;
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(sink, &cookie), S_OK);

  ASSERT_EQ(c->put_BackColor(RGB(1, 2, 3)), S_OK);
  EXPECT_EQ(sink->changed, std::vector<DISPID>{DISPID_BACKCOLOR});
  sink->changed.clear();
  ASSERT_EQ(c->put_Orientation(qrRightToLeft), S_OK);
  EXPECT_EQ(sink->changed, std::vector<DISPID>{3});
  sink->changed.clear();
  VARIANT text;
  VariantInit(&text);
  V_VT(&text) = VT_BSTR;
  V_BSTR(&text) = SysAllocString(L"1\r\n2");
  // Stored under "ListListItemData", announced as LeftListItemData.
  ASSERT_EQ(c->put_LeftListItemData(text), S_OK);
  EXPECT_EQ(sink->changed, std::vector<DISPID>{17});
  sink->changed.clear();
  ASSERT_EQ(c->put_LeftList(text), S_OK);
  EXPECT_EQ(sink->changed, std::vector<DISPID>{15});
  VariantClear(&text);
  sink->changed.clear();
  BSTR item = SysAllocString(L"changed");
  ASSERT_EQ(c->put_Llist(0, item), S_OK);
  SysFreeString(item);
  EXPECT_EQ(sink->changed, std::vector<DISPID>{4});
  sink->changed.clear();
  // Save_Lists assigns the four texts.
  ASSERT_EQ(c->Save_Lists(), S_OK);
  EXPECT_EQ(sink->changed, (std::vector<DISPID>{15, 17, 16, 18}));
  sink->changed.clear();
  // A refused assignment announces nothing.
  EXPECT_EQ(c->put_BorderStyle(7), HRESULT(0x800A017C));
  EXPECT_TRUE(sink->changed.empty());
  // A change made through the font object the control handed out.
  IFontDisp* font_disp = nullptr;
  ASSERT_EQ(c->get_Font(&font_disp), S_OK);
  ComPtr<IFont> font;
  font_disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.GetAddressOf()));
  font_disp->Release();
  CY size = {};
  size.int64 = 140000;
  ASSERT_EQ(font->put_Size(size), S_OK);
  EXPECT_EQ(sink->changed, std::vector<DISPID>{DISPID_FONT});
  EXPECT_EQ(state_of(c.Get()).font_size, realised(L"MS Sans Serif", 140000).second);

  ASSERT_EQ(point->Unadvise(cookie), S_OK);
  sink->Release();
}

TEST(Errors, ArriveWithTheirNumbersAndErrorInformation) {
  ComPtr<_AddRemove> c = new_addremove();
  BSTR text = nullptr;
  EXPECT_EQ(c->get_Llist(99, &text), HRESULT(0x800A017D));
  EXPECT_EQ(text, nullptr);
  IErrorInfo* error = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &error), S_OK);
  BSTR description = nullptr, source = nullptr;
  error->GetDescription(&description);
  error->GetSource(&source);
  EXPECT_STREQ(description, L"Invalid property array index");
  EXPECT_STREQ(source, L"QuorralSet.AddRemove");
  SysFreeString(description);
  SysFreeString(source);
  error->Release();
  ComPtr<ISupportErrorInfo> supports;
  ASSERT_EQ(c.As(&supports), S_OK);
  EXPECT_EQ(supports->InterfaceSupportsErrorInfo(guid(addremove_info().default_iid)), S_OK);

  short style = -1;
  EXPECT_EQ(c->put_BackStyle(5), HRESULT(0x800A017C));
  EXPECT_EQ(c->get_BackStyle(&style), S_OK);
  EXPECT_EQ(style, 1);  // unchanged
  EXPECT_EQ(c->putref_Font(nullptr), HRESULT(0x800A01A8));  // object required

  // Through IDispatch, as script clients call.
  ComPtr<IDispatch> dispatch;
  ASSERT_EQ(c.As(&dispatch), S_OK);
  LPOLESTR name = const_cast<LPOLESTR>(L"Llist");
  DISPID id = 0;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  VARIANT index;
  VariantInit(&index);
  V_VT(&index) = VT_I4;
  V_I4(&index) = 99;
  DISPPARAMS params = {&index, nullptr, 1, 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO excep = {};
  EXPECT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params,
                             &result, &excep, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(excep.scode, HRESULT(0x800A017D));
  EXPECT_STREQ(excep.bstrDescription, L"Invalid property array index");
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrHelpFile);

  // And a good call through IDispatch, with the optional index omitted.
  name = const_cast<LPOLESTR>(L"LAddItem");
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  VARIANT item;
  VariantInit(&item);
  V_VT(&item) = VT_BSTR;
  V_BSTR(&item) = SysAllocString(L"by dispatch");
  DISPPARAMS add = {&item, nullptr, 1, 0};
  EXPECT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &add, nullptr,
                             nullptr, nullptr),
            S_OK);
  VariantClear(&item);
  EXPECT_EQ(left_items(c.Get()), std::vector<std::wstring>{L"by dispatch"});
}

}  // namespace
}  // namespace qs::test

namespace qs::test {
namespace {

// The about box the control shows; closed by clicking its "OK" label, or,
// should the click not close it, by the window manager's close after a
// while (the test then fails instead of waiting forever).
struct AboutBoxCloser {
  static inline std::vector<HWND> windows;
  static inline int ticks_since_click = 0;
  static inline bool forced = false;
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND about = FindWindowW(nullptr, L"About");
    if (!about || !IsWindowVisible(about)) return;
    if (windows.empty() || windows.back() != about || ticks_since_click == 0) {
      if (windows.empty() || windows.back() != about) windows.push_back(about);
      // "OK" sits at 5880, 3240 twips, 1215 x 495: click its middle.
      LPARAM at = MAKELPARAM(5880 / 15 + 40, 3240 / 15 + 16);
      PostMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(about, WM_LBUTTONUP, 0, at);
    }
    if (++ticks_since_click > 40) {
      forced = true;
      PostMessageW(about, WM_CLOSE, 0, 0);
    }
  }
};

TEST(AboutBox, ShowsModallyAndReturnsOnceClosedEveryTime) {
  ComPtr<_AddRemove> c = new_addremove();
  for (size_t round = 1; round <= 2; ++round) {
    AboutBoxCloser::ticks_since_click = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, &AboutBoxCloser::tick);
    EXPECT_EQ(c->ShowAboutBox(), S_OK);
    KillTimer(nullptr, timer);
    EXPECT_FALSE(AboutBoxCloser::forced);
    ASSERT_EQ(AboutBoxCloser::windows.size(), round);
    // Unloaded when the call returns.
    EXPECT_FALSE(IsWindow(AboutBoxCloser::windows.back()));
  }
}


// A host can list the sinks connected to a connection point, with their
// cookies; an unadvised sink drops out of the list.
TEST(Events, EnumConnectionsListsTheConnectedSinks) {
  ComPtr<_AddRemove> c = new_addremove();
  ComPtr<IConnectionPointContainer> cpc;
  ASSERT_EQ(c.As(&cpc), S_OK);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(cpc->FindConnectionPoint(IID_IPropertyNotifySink, point.GetAddressOf()), S_OK);
  auto* first = new NotifySink;
  auto* second = new NotifySink;
  DWORD cookies[2] = {0, 0};
  ASSERT_EQ(point->Advise(first, &cookies[0]), S_OK);
  ASSERT_EQ(point->Advise(second, &cookies[1]), S_OK);

  auto listed = [&] {
    std::vector<DWORD> out;
    ComPtr<IEnumConnections> e;
    EXPECT_EQ(point->EnumConnections(e.GetAddressOf()), S_OK);
    if (!e) return out;
    CONNECTDATA data[4];
    ULONG fetched = 0;
    EXPECT_EQ(e->Next(4, data, &fetched), S_FALSE);
    for (ULONG i = 0; i < fetched; ++i) {
      EXPECT_NE(data[i].pUnk, nullptr);
      out.push_back(data[i].dwCookie);
      data[i].pUnk->Release();
    }
    return out;
  };
  EXPECT_EQ(listed(), (std::vector<DWORD>{cookies[0], cookies[1]}));
  ASSERT_EQ(point->Unadvise(cookies[0]), S_OK);
  EXPECT_EQ(listed(), std::vector<DWORD>{cookies[1]});
  ASSERT_EQ(point->Unadvise(cookies[1]), S_OK);
  EXPECT_TRUE(listed().empty());
  first->Release();
  second->Release();
}

}  // namespace
}  // namespace qs::test
