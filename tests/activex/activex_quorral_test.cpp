// Quorral through COM and in the real notification area: its pictures and
// misc status, the design-mode refusals, two instances on one thread, the
// shell's restart broadcast, and real X input on the icon in Wine's tray
// reaching the host's event sink.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "library/class_list.h"
#include "tests/activex/addremove_client.h"
#include "tests/support/real_input.h"

#include <shellapi.h>

namespace qs::test {
namespace {

const ClassInfo& quorral_info() { return *find_class(u"Quorral"); }

ComPtr<_Quorral> new_quorral(IOleClientSite* site = nullptr) {
  ComPtr<_Quorral> c;
  CLSID clsid = GUID_NULL;
  if (FAILED(CLSIDFromProgID(L"QuorralSet.Quorral", &clsid))) return c;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, guid(quorral_info().default_iid),
                   reinterpret_cast<void**>(c.GetAddressOf()));
  if (!c) return c;
  if (site) {
    ComPtr<IOleObject> ole;
    c.As(&ole);
    ole->SetClientSite(site);
  }
  ComPtr<IPersistStreamInit> persist;
  if (SUCCEEDED(c.As(&persist))) persist->InitNew();
  return c;
}

// The hidden windows the server made in this process.
BOOL CALLBACK collect_message_window(HWND w, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t cls[32] = {};
  GetClassNameW(w, cls, 32);
  if (pid == GetCurrentProcessId() && lstrcmpW(cls, L"QsMessageWindow") == 0)
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
  return TRUE;
}

std::vector<HWND> message_windows() {
  std::vector<HWND> out;
  EnumWindows(collect_message_window, reinterpret_cast<LPARAM>(&out));
  std::sort(out.begin(), out.end());
  return out;
}

// Creates an instance and finds the hidden window it made.
std::pair<ComPtr<_Quorral>, HWND> new_quorral_with_window(IOleClientSite* site = nullptr) {
  const std::vector<HWND> before = message_windows();
  ComPtr<_Quorral> c = new_quorral(site);
  HWND made = nullptr;
  for (HWND w : message_windows())
    if (!std::binary_search(before.begin(), before.end(), w)) made = w;
  return {c, made};
}

// Whether the shell holds icon 1 of a window: it accepts a modify request
// (changing nothing) only for an icon it holds.
bool tray_holds(HWND window) {
  NOTIFYICONDATAA d{};
  d.cbSize = NOTIFYICONDATAA_V1_SIZE;
  d.hWnd = window;
  d.uID = 1;
  return Shell_NotifyIconA(NIM_MODIFY, &d) != FALSE;
}

VARIANT long_variant(LONG v) {
  VARIANT out;
  VariantInit(&out);
  V_VT(&out) = VT_I4;
  V_I4(&out) = v;
  return out;
}

HRESULT set_icon(_Quorral* c, bool x) {
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = c->Set_Icon(x ? VARIANT_TRUE : VARIANT_FALSE, &result);
  EXPECT_EQ(V_VT(&result), VT_EMPTY);
  VariantClear(&result);
  return hr;
}

// The host's event sink: each event with its arguments as 32-bit integers.
class TraySink final : public IDispatch {
 public:
  struct Event {
    DISPID id;
    std::vector<LONG> args;
    bool operator==(const Event&) const = default;
  };
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == guid(quorral_info().event_iid)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    Event e{id, {}};
    for (UINT i = params ? params->cArgs : 0; i-- > 0;) {
      VARIANT v;
      VariantInit(&v);
      VariantCopyInd(&v, &params->rgvarg[i]);
      by_ref.push_back((V_VT(&params->rgvarg[i]) & VT_BYREF) != 0);
      if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4))) e.args.push_back(V_I4(&v));
      VariantClear(&v);
    }
    events.push_back(std::move(e));
    return S_OK;
  }
  int count(DISPID id) const {
    return int(std::count_if(events.begin(), events.end(), [&](const Event& e) { return e.id == id; }));
  }
  std::vector<Event> events;
  std::vector<bool> by_ref;

 private:
  ULONG refs_ = 1;
};

// Connects a sink to the control's event interface for its lifetime.
class Connection {
 public:
  Connection(IUnknown* control, IDispatch* sink) {
    ComPtr<IConnectionPointContainer> cpc;
    control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(cpc.GetAddressOf()));
    if (cpc) cpc->FindConnectionPoint(guid(quorral_info().event_iid), point_.GetAddressOf());
    if (point_) point_->Advise(sink, &cookie_);
  }
  ~Connection() {
    if (point_) point_->Unadvise(cookie_);
  }
  bool connected() const { return cookie_ != 0; }

 private:
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

BOOL CALLBACK find_shown_bubble(HWND w, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t title[32] = {};
  GetWindowTextW(w, title, 32);
  if (pid == GetCurrentProcessId() && IsWindowVisible(w) && lstrcmpW(title, L"MessageBox") == 0) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

// From another thread, as a user would: waits for the bubble to show, then
// presses its visible button with that caption. True when it pressed.
bool press_bubble_button(const wchar_t* caption) {
  for (int i = 0; i < 500; ++i) {
    HWND bubble = nullptr;
    EnumWindows(find_shown_bubble, reinterpret_cast<LPARAM>(&bubble));
    if (bubble != nullptr) {
      // The visible one: a hidden button may carry the same caption.
      for (HWND button = FindWindowExW(bubble, nullptr, L"Button", caption); button != nullptr;
           button = FindWindowExW(bubble, button, L"Button", caption)) {
        if (IsWindowVisible(button)) {
          PostMessageW(button, BM_CLICK, 0, 0);
          return true;
        }
      }
    }
    Sleep(20);
  }
  return false;
}

TEST(QuorralCom, MsgBoxShowsTheBubbleModallyAndAnswersWithThePressedButton) {
  ComPtr<_Quorral> c = new_quorral();
  ASSERT_TRUE(c);
  struct Row {
    msgButtons buttons;
    const wchar_t* press;
    short answer;
  };
  const Row rows[] = {{msgYesNo, L"No", 4}, {msgYesNo, L"Yes", 3}, {msgAbortRetryIgnore, L"Ignore", 7},
                      {msgok, L"OK", 1}};
  for (const Row& row : rows) {
    bool pressed = false;
    std::thread user([&] { pressed = press_bubble_button(row.press); });
    BSTR prompt = SysAllocString(L"Shall we?");
    VARIANT missing;
    VariantInit(&missing);
    V_VT(&missing) = VT_ERROR;
    V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
    short answer = -1;
    EXPECT_EQ(c->MsgBox(prompt, row.buttons, missing, missing, spkBottomRight, &answer), S_OK);
    SysFreeString(prompt);
    user.join();
    EXPECT_TRUE(pressed) << "no bubble showed a button " << row.press;
    EXPECT_EQ(answer, row.answer);
  }
}

TEST(QuorralCom, UtilityMethodsThroughTheInterface) {
  ComPtr<_Quorral> c = new_quorral();
  ASSERT_TRUE(c);
  auto text = [](const wchar_t* s) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(s);
    return v;
  };
  VARIANT t = text(L"abc"), k = text(L"ab"), out;
  VariantInit(&out);
  ASSERT_EQ(c->WinCrypt(t, k, &out), S_OK);
  ASSERT_EQ(V_VT(&out), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&out), L"gde");
  VariantClear(&out);
  VARIANT bad = text(L"\u00ff");
  EXPECT_EQ(c->WinCrypt(t, bad, &out), HRESULT(0x800A0005)) << "codes above 255: error 5";
  EXPECT_EQ(V_VT(&out), VT_EMPTY) << "and no partial result";
  VariantClear(&t);
  VariantClear(&k);
  VariantClear(&bad);

  HWND window = CreateWindowExW(0, L"STATIC", L"float me", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  VARIANT_BOOL floated = VARIANT_FALSE;
  ASSERT_EQ(c->FloatWindow(long_variant(LONG(reinterpret_cast<intptr_t>(window))), VARIANT_TRUE,
                           &floated),
            S_OK);
  EXPECT_EQ(floated, VARIANT_TRUE);
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ASSERT_EQ(c->FloatWindow(long_variant(LONG(reinterpret_cast<intptr_t>(window))), VARIANT_FALSE,
                           &floated),
            S_OK);
  EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  DestroyWindow(window);
  EXPECT_EQ(c->FloatWindow(long_variant(0), VARIANT_TRUE, &floated), S_OK) << "no error escapes";
  EXPECT_EQ(floated, VARIANT_FALSE);
}

TEST(QuorralCom, ANewInstanceIsInvisibleAtRunTimeAndHoldsTheBuiltInIcon) {
  ComPtr<_Quorral> c = new_quorral();
  ASSERT_TRUE(c);
  ComPtr<IOleObject> ole;
  ASSERT_EQ(c.As(&ole), S_OK);
  DWORD status = 0;
  EXPECT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  EXPECT_EQ(status, 0x24591u);

  ComPtr<IPictureDisp> icon;
  ASSERT_EQ(c->get_SysIcon(icon.GetAddressOf()), S_OK);
  ASSERT_TRUE(icon);
  ComPtr<IPicture> picture;
  ASSERT_EQ(icon.As(&picture), S_OK);
  SHORT type = 0;
  picture->get_Type(&type);
  EXPECT_EQ(type, PICTYPE_ICON);
  OLE_HANDLE handle = 0;
  picture->get_Handle(&handle);
  EXPECT_NE(handle, 0u);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(static_cast<uintptr_t>(handle)), &info));
  BITMAP bm{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 32);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);

  ComPtr<IPictureDisp> background;
  ASSERT_EQ(c->get_MsgBoxPicture(background.GetAddressOf()), S_OK);
  ASSERT_TRUE(background) << "an empty picture object, not nothing";
  ComPtr<IPicture> empty;
  ASSERT_EQ(background.As(&empty), S_OK);
  empty->get_Type(&type);
  EXPECT_EQ(type, PICTYPE_NONE);
}

// A member's help string and whether it is hidden, from the type library;
// found stays false for a name the library does not hold.
struct Doc {
  bool found = false;
  std::wstring help;
  bool hidden = false;
};

Doc doc_of(ITypeInfo* info, const wchar_t* name) {
  Doc d;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return d;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(info->GetFuncDesc(i, &f))) continue;
    BSTR member = nullptr, help = nullptr;
    info->GetDocumentation(f->memid, &member, &help, nullptr, nullptr);
    if (member && lstrcmpW(member, name) == 0) {
      d.found = true;
      if (help) d.help = help;
      d.hidden = d.hidden || (f->wFuncFlags & FUNCFLAG_FHIDDEN) != 0;
    }
    SysFreeString(member);
    SysFreeString(help);
    info->ReleaseFuncDesc(f);
  }
  info->ReleaseTypeAttr(attr);
  return d;
}

TEST(QuorralCom, TheTypeLibraryCarriesTheHelpStringsAndHidesTheCursorProperties) {
  ComPtr<ITypeLib> library;
  ASSERT_EQ(LoadTypeLibEx(ocx_path().c_str(), REGKIND_NONE, library.GetAddressOf()), S_OK);
  ComPtr<ITypeInfo> members, events;
  ASSERT_EQ(library->GetTypeInfoOfGuid(guid(quorral_info().default_iid), members.GetAddressOf()), S_OK);
  ASSERT_EQ(library->GetTypeInfoOfGuid(guid(quorral_info().event_iid), events.GetAddressOf()), S_OK);
  EXPECT_EQ(doc_of(members.Get(), L"Set_Icon").help, L"Place or remove the System Tray icon");
  EXPECT_EQ(doc_of(members.Get(), L"SysIcon").help, L"Returns/sets a graphic to be displayed in a control.");
  EXPECT_EQ(doc_of(members.Get(), L"MsgBoxPicture").help, L"The Quorral MessageBox Picture");
  EXPECT_EQ(doc_of(events.Get(), L"DoubleClick").help, L"Fired when the System Tray icon is double-clicked");
  EXPECT_TRUE(doc_of(members.Get(), L"MouseX").hidden);
  EXPECT_TRUE(doc_of(members.Get(), L"MouseY").hidden);
  const Doc tip = doc_of(members.Get(), L"SysToolTip");
  EXPECT_TRUE(tip.found) << "a missing member would pass as not hidden";
  EXPECT_FALSE(tip.hidden);
  // The events in order, with their ids.
  const wchar_t* names[] = {L"MouseMove", L"DoubleClick", L"Click"};
  for (DISPID id = 1; id <= 3; ++id) {
    BSTR name = nullptr;
    ASSERT_EQ(events->GetDocumentation(id, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_STREQ(name, names[id - 1]);
    SysFreeString(name);
  }
}

TEST(QuorralCom, InADesignerTheCursorPropertiesRefuseAssignmentAndThePollStaysOff) {
  auto* designer = new TestSite(true);
  designer->user_mode = false;
  ComPtr<_Quorral> c = new_quorral(designer);
  ASSERT_TRUE(c);
  VARIANT five = long_variant(5);
  EXPECT_EQ(c->put_MouseX(five), HRESULT(0x800A0183));
  EXPECT_EQ(c->put_MouseY(five), HRESULT(0x800A0183));
  VARIANT many = long_variant(70000);
  EXPECT_EQ(c->put_MouseSensitivity(many), S_OK) << "no timer runs in a designer";

  // At run time the same interval is stored, then refused by the timer.
  ComPtr<_Quorral> running = new_quorral();
  EXPECT_EQ(running->put_MouseSensitivity(many), HRESULT(0x800A017C));
  VARIANT held;
  VariantInit(&held);
  EXPECT_EQ(running->get_MouseSensitivity(&held), S_OK);
  EXPECT_EQ(V_VT(&held), VT_I4);
  EXPECT_EQ(V_I4(&held), 70000);
  EXPECT_EQ(running->put_MouseX(five), S_OK);

  ComPtr<IOleObject> ole;
  c.As(&ole);
  ole->SetClientSite(nullptr);
  designer->Release();
}

TEST(QuorralCom, AnInstanceWithoutAnIconLeavesAnothersIconAndNoWindowOutlivesItsInstance) {
  const size_t windows_before = message_windows().size();
  auto [first, first_window] = new_quorral_with_window();
  ASSERT_TRUE(first);
  ASSERT_NE(first_window, nullptr);
  ASSERT_EQ(set_icon(first.Get(), true), S_OK);
  EXPECT_TRUE(tray_holds(first_window));

  auto [second, second_window] = new_quorral_with_window();
  ASSERT_NE(second_window, nullptr);
  EXPECT_EQ(message_windows().size(), windows_before + 2);
  second.Reset();
  EXPECT_EQ(message_windows().size(), windows_before + 1);
  EXPECT_TRUE(tray_holds(first_window)) << "ending an instance without an icon deletes nothing";

  // Both shown: each removes its own.
  auto [third, third_window] = new_quorral_with_window();
  ASSERT_EQ(set_icon(third.Get(), true), S_OK);
  EXPECT_TRUE(tray_holds(third_window));
  ASSERT_EQ(set_icon(first.Get(), false), S_OK);
  EXPECT_FALSE(tray_holds(first_window));
  EXPECT_TRUE(tray_holds(third_window));
  third.Reset();
  first.Reset();
  EXPECT_EQ(message_windows().size(), windows_before);
}

TEST(QuorralCom, AfterTheShellsRestartBroadcastAShownIconIsPlacedAgain) {
  auto [shown, shown_window] = new_quorral_with_window();
  auto [hidden, hidden_window] = new_quorral_with_window();
  ASSERT_TRUE(shown && hidden);
  ASSERT_EQ(set_icon(shown.Get(), true), S_OK);
  // The shell lost every icon, as a restarted shell has.
  NOTIFYICONDATAA d{};
  d.cbSize = NOTIFYICONDATAA_V1_SIZE;
  d.hWnd = shown_window;
  d.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &d));
  ASSERT_FALSE(tray_holds(shown_window));
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0,
                      SMTO_ABORTIFHUNG, 2000, &answer);
  EXPECT_TRUE(pump_until([&] { return tray_holds(shown_window); }));
  EXPECT_FALSE(tray_holds(hidden_window));
  ASSERT_EQ(set_icon(shown.Get(), false), S_OK);
  EXPECT_FALSE(tray_holds(shown_window));
}

// Wine's notification area without a tray manager: a window of its own
// holding one child window per icon, the newest last.
BOOL CALLBACK collect_icon_window(HWND w, LPARAM out) {
  wchar_t cls[40] = {};
  GetClassNameW(w, cls, 40);
  if (lstrcmpW(cls, L"__winex11_tray_icon") == 0 && IsWindowVisible(w))
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
  return TRUE;
}

std::vector<HWND> tray_icon_windows() {
  std::vector<HWND> out;
  HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
  if (tray && IsWindowVisible(tray)) EnumChildWindows(tray, collect_icon_window, reinterpret_cast<LPARAM>(&out));
  return out;
}

TEST(QuorralTray, RealClicksOnTheIconAndRealPointerMovesReachTheHostsSink) {
  PointerKeeper pointer;
  auto [c, window] = new_quorral_with_window();
  ASSERT_TRUE(c);
  TraySink sink;
  Connection connection(c.Get(), &sink);
  ASSERT_TRUE(connection.connected());
  BSTR tip = SysAllocString(L"QuorralSet tray test");
  VARIANT tip_value;
  VariantInit(&tip_value);
  V_VT(&tip_value) = VT_BSTR;
  V_BSTR(&tip_value) = tip;
  EXPECT_EQ(c->put_SysToolTip(tip_value), S_OK);
  VariantClear(&tip_value);
  ASSERT_EQ(set_icon(c.Get(), true), S_OK);
  ASSERT_TRUE(tray_holds(window));

  // Where the icon is on the screen.
  std::vector<HWND> icons;
  ASSERT_TRUE(pump_until([&] { icons = tray_icon_windows(); return !icons.empty(); }))
      << "no icon in the notification area";
  const size_t icons_shown = icons.size();
  RECT rect{};
  GetWindowRect(icons.back(), &rect);
  POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};

  ASSERT_TRUE(move_pointer(centre)) << "the pointer did not reach the icon: is xdotool there?";
  sink.events.clear();
  ASSERT_TRUE(xdotool(L"click --repeat 2 --delay 60 1"));
  ASSERT_TRUE(pump_until([&] { return sink.events.size() >= 3; }));
  ASSERT_TRUE(xdotool(L"click 3"));
  ASSERT_TRUE(pump_until([&] { return sink.events.size() >= 4; }));
  pump_until([] { return false; }, 200);  // nothing more may come
  using E = TraySink::Event;
  EXPECT_EQ(sink.events, (std::vector<E>{{3, {0}}, {2, {}}, {3, {0}}, {3, {1}}}));
  for (bool b : sink.by_ref) EXPECT_TRUE(b) << "event arguments go by reference";

  // The poll: a real pointer move raises MouseMove with the new position.
  VARIANT interval = long_variant(20);
  ASSERT_EQ(c->put_MouseSensitivity(interval), S_OK);
  ASSERT_TRUE(pump_until([&] { return sink.count(1) >= 1; }));  // the first poll
  sink.events.clear();
  ASSERT_TRUE(xdotool(L"mousemove --sync 321 234"));
  ASSERT_TRUE(pump_until([&] {
    return std::any_of(sink.events.begin(), sink.events.end(),
                       [](const E& e) { return e == E{1, {321, 234}}; });
  })) << "no MouseMove at the new position";
  VARIANT x;
  VariantInit(&x);
  c->get_MouseX(&x);
  VariantChangeType(&x, &x, 0, VT_I4);
  EXPECT_EQ(V_I4(&x), 321);
  // At rest: no further MouseMove.
  sink.events.clear();
  pump_until([] { return false; }, 150);
  EXPECT_EQ(sink.count(1), 0);

  // Removed: the shell no longer holds it and its window left the tray.
  ASSERT_EQ(set_icon(c.Get(), false), S_OK);
  EXPECT_FALSE(tray_holds(window));
  EXPECT_TRUE(pump_until([&] { return tray_icon_windows().size() < icons_shown; }))
      << "the icon is still shown";
}

}  // namespace
}  // namespace qs::test
