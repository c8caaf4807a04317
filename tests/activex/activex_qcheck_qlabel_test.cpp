// qCheck and qLabel as a container hosts them: created through COM, active
// in place in a real window, clicked with real mouse messages through the
// host's own message loop, their events received by a sink through the
// connection point with by-reference arguments of the declared types.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QuorralSet_h.h"
#include "core/variant.h"
#include "tests/activex/com_test_support.h"

namespace qs::test {
namespace {

// An event sink recording each event with the kinds of its arguments; it
// can write into by-reference arguments.
class RecordingEvents final : public IDispatch {
 public:
  explicit RecordingEvents(IID events) : events_(events) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == events_) {
      *out = static_cast<IDispatch*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    std::vector<VARTYPE> kinds;
    for (UINT i = 0; i < params->cArgs; ++i) kinds.insert(kinds.begin(), V_VT(&params->rgvarg[i]));
    events.push_back(id);
    arg_kinds.push_back(kinds);
    // The first argument (the button of a mouse event) is the last in rgvarg.
    if (params->cArgs == 4 && V_VT(&params->rgvarg[3]) == (VT_BYREF | VT_I2)) {
      buttons.push_back(*V_I2REF(&params->rgvarg[3]));
      *V_I2REF(&params->rgvarg[3]) = 7;
    }
    return S_OK;
  }

  std::vector<DISPID> events;
  std::vector<std::vector<VARTYPE>> arg_kinds;
  std::vector<short> buttons;

 private:
  IID events_;
};

// A control of a class, activated in place in a test site, with a sink on
// its events.
struct Hosted {
  explicit Hosted(const wchar_t* prog_id) : site(new TestSite(true)) {
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(prog_id, &clsid), S_OK);
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER,
                               IID_PPV_ARGS(control.GetAddressOf())),
              S_OK);
    control.As(&ole);
    ole->SetClientSite(site);
    ComPtr<IPersistStreamInit> persist;
    control.As(&persist);
    EXPECT_EQ(persist->InitNew(), S_OK);
    ComPtr<IProvideClassInfo2> info;
    control.As(&info);
    IID events_iid;
    info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events_iid);
    sink = new RecordingEvents(events_iid);
    ComPtr<IConnectionPointContainer> cpc;
    control.As(&cpc);
    EXPECT_EQ(cpc->FindConnectionPoint(events_iid, point.GetAddressOf()), S_OK);
    EXPECT_EQ(point->Advise(sink, &cookie), S_OK);
    EXPECT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, site->window(), &site->position),
              S_OK);
  }
  ~Hosted() {
    point->Unadvise(cookie);
    point.Reset();
    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
    ole.Reset();
    control.Reset();
    delete sink;
    site->Release();
  }
  HWND window() {
    ComPtr<IOleInPlaceObject> in_place;
    control.As(&in_place);
    HWND hwnd = nullptr;
    in_place->GetWindow(&hwnd);
    return hwnd;
  }
  // Adds a window to the vector at p (an enumeration callback, which must
  // have the system's calling convention).
  static BOOL CALLBACK collect_window(HWND w, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
  }
  // The control's child windows, in creation order.
  std::vector<HWND> children() {
    std::vector<HWND> out;
    EnumChildWindows(window(), &collect_window, reinterpret_cast<LPARAM>(&out));
    return out;
  }
  VARIANT get(const wchar_t* name) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    VARIANT out;
    VariantInit(&out);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &out, nullptr, nullptr), S_OK);
    return out;
  }
  HRESULT put(const wchar_t* name, VARIANT value) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&value, &named, 1, 1};
    return control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
  }

  TestSite* site;
  ComPtr<IDispatch> control;
  ComPtr<IOleObject> ole;
  ComPtr<IConnectionPoint> point;
  RecordingEvents* sink = nullptr;
  DWORD cookie = 0;
};

// A left click at a point of a window, posted and dispatched by a message
// loop of the host's kind (not by a test driver).
void host_click(HWND window, int x, int y) {
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

long as_long(VARIANT v) {
  VARIANT out;
  VariantInit(&out);
  EXPECT_EQ(VariantChangeType(&out, &v, 0, VT_I4), S_OK);
  VariantClear(&v);
  return V_I4(&out);
}

constexpr DISPID kQCheckMouseDown = 4, kQCheckMouseUp = 6, kQCheckClick = 7, kQCheckChange = 9;

TEST(HostedControls, QCheckClickedThroughTheHostsLoopCyclesAndRaisesTypedEvents) {
  Hosted h(L"QuorralSet.qCheck");
  const std::vector<HWND> children = h.children();
  ASSERT_EQ(children.size(), 1u) << "the box is the control's one child window";
  const std::vector<long> expected = {1, 0, 1};
  for (long value : expected) {
    host_click(children[0], 5, 5);
    EXPECT_EQ(as_long(h.get(L"Value")), value);
  }
  // Each click: MouseDown, MouseUp, then Change before Click.
  std::vector<DISPID> order;
  for (DISPID id : h.sink->events)
    if (id == kQCheckMouseDown || id == kQCheckMouseUp || id == kQCheckClick || id == kQCheckChange)
      order.push_back(id);
  const std::vector<DISPID> one = {kQCheckMouseDown, kQCheckMouseUp, kQCheckChange, kQCheckClick};
  ASSERT_EQ(order.size(), 12u);
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(order[i], one[i % 4]) << i;
  // Mouse arguments arrive by reference as the event interface declares them.
  for (size_t i = 0; i < h.sink->events.size(); ++i) {
    if (h.sink->events[i] != kQCheckMouseDown) continue;
    const std::vector<VARTYPE> typed = {VT_BYREF | VT_I2, VT_BYREF | VT_I2, VT_BYREF | VT_R4,
                                        VT_BYREF | VT_R4};
    EXPECT_EQ(h.sink->arg_kinds[i], typed);
  }
  ASSERT_FALSE(h.sink->buttons.empty());
  EXPECT_EQ(h.sink->buttons[0], 1) << "left button";
}

TEST(HostedControls, AClickThatFailsInsideTheControlChangesNothingAndEscapesNowhere) {
  Hosted h(L"QuorralSet.qCheck");
  VARIANT text;
  VariantInit(&text);
  V_VT(&text) = VT_BSTR;
  V_BSTR(&text) = SysAllocString(L"not a number");
  ASSERT_EQ(h.put(L"Value", text), S_OK);
  VariantClear(&text);
  const size_t changes_before = h.sink->events.size();
  // The click's addition fails inside the window procedure: the handler
  // ends there, and the host's loop goes on.
  host_click(h.children()[0], 5, 5);
  VARIANT value = h.get(L"Value");
  ASSERT_EQ(V_VT(&value), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&value), L"not a number");
  VariantClear(&value);
  for (size_t i = changes_before; i < h.sink->events.size(); ++i)
    EXPECT_NE(h.sink->events[i], kQCheckChange);
  // A later, unrelated call does not see the click's error.
  VARIANT one;
  VariantInit(&one);
  V_VT(&one) = VT_I2;
  V_I2(&one) = 1;
  EXPECT_EQ(h.put(L"Value", one), S_OK);
  EXPECT_EQ(as_long(h.get(L"Value")), 1);
}

TEST(HostedControls, QLabelRelaysMouseEventsFromItsTextOnly) {
  Hosted h(L"QuorralSet.qLabel");
  VARIANT shadow;
  VariantInit(&shadow);
  V_VT(&shadow) = VT_I2;
  V_I2(&shadow) = -45;  // twips: three pixels at 96 dots per inch
  ASSERT_EQ(h.put(L"Shadow", shadow), S_OK);
  // The top-left strip is covered only by the shadow: nothing is raised.
  host_click(h.window(), 1, 1);
  EXPECT_TRUE(h.sink->events.empty());
  // Inside the text: MouseDown, MouseUp, Click.
  host_click(h.window(), 20, 10);
  const std::vector<DISPID> expected = {3, 5, 1};
  EXPECT_EQ(h.sink->events, expected);
}

}  // namespace
}  // namespace qs::test
