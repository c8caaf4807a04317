// The COM object every control of the library shares: it adapts one
// portable Control to what containers call (OLE embedding, in-place
// activation, persistence, connection points, class information) and acts
// as the control's Host. A control's binding adds its dual interface.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>

#include <array>
#include <map>
#include <span>
#include <type_traits>
#include <memory>
#include <string>
#include <vector>

#include "com_util.h"
#include "connection_point.h"
#include "error_info.h"
#include "member_table.h"
#include "library/class_list.h"
#include "library/control.h"
#include "library/host.h"
#include "platform/win32/win32_platform.h"

namespace qs::activex {

class ComControl : public IOleObject,
                   public IOleInPlaceObject,
                   public IOleInPlaceActiveObject,
                   public IOleControl,
                   public IViewObject2,
                   public IPersistStreamInit,
                   public IPersistPropertyBag,
                   public IPersistStorage,
                   public IProvideClassInfo2,
                   public IConnectionPointContainer,
                   public ISpecifyPropertyPages,
                   public ISupportErrorInfo,
                   private Host {
 public:
  // The object of class `info` whose members are `members`.
  ComControl(const ClassInfo& info, const MemberTable& members);
  virtual ~ComControl();
  ComControl(const ComControl&) = delete;
  ComControl& operator=(const ComControl&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD save_option) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** out) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND,
                                   LPCRECT) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** out) override;
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* out) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** out) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID dispid) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                 LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                 ULONG_PTR) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                        LOGPALETTE**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;

  // IPersist, IPersistStreamInit, IPersistPropertyBag, IPersistStorage
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
  HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clear_dirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clear_dirty, BOOL save_all) override;
  HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL same_as_load) override;
  HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE HandsOffStorage() override { return S_OK; }

  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

  // ISpecifyPropertyPages
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

 protected:
  // Hands the portable control to this object (once, from the binding's
  // constructor); it talks to its container through host().
  void set_control(std::unique_ptr<Control> control);
  Control& control() { return *control_; }
  Host& host() { return *this; }
  const ClassInfo& info() const { return info_; }
  // The platform's window-backed surface of the control.
  win32::Win32Surface& surface();

  // The binding's default dual interface.
  virtual IDispatch* dispatch() = 0;
  // A new portable control of this object's class, talking to `host`.
  virtual std::unique_ptr<Control> make_control(Host& host) = 0;

  // Runs a member of the default interface: runtime errors become HRESULTs
  // with error information.
  template <class Body>
  HRESULT call(Body&& body) {
    return guarded(prog_id_, default_iid_, std::forward<Body>(body));
  }

  // The early-bound entry to a member: runs the member's row with the
  // caller's arguments and writes its result to `out` (no_result for none).
  struct NoResult {};
  static constexpr NoResult* no_result = nullptr;
  template <class Out, class... In>
  HRESULT invoke_member(DISPID id, WORD kind, Out* out, In... in) {
    if constexpr (!std::is_same_v<Out, NoResult>) {
      if (!out) return E_POINTER;
      clear_out(out);
    }
    return call([&] {
      std::array<Variant, sizeof...(In)> args{in_value(in)...};
      Variant result = run_member(id, kind, std::span<const Variant>(args.data(), args.size()));
      if constexpr (!std::is_same_v<Out, NoResult>) store_out(id, result, out);
    });
  }

  // IDispatch through the type library, for the binding to forward to.
  HRESULT dispatch_type_info_count(UINT* count);
  HRESULT dispatch_type_info(UINT index, ITypeInfo** out);
  HRESULT dispatch_ids_of_names(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids);
  HRESULT dispatch_invoke(DISPID id, REFIID iid, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* excep, UINT* arg_err);

 private:
  // Host
  FontRef ambient_font() override;
  bool user_mode() override;
  void property_changed(std::u16string_view name) override;
  void raise_event(int dispid, std::vector<Variant*> args) override;

  // Fills arg_counts_ and the rows' dispatch ids from the default
  // interface's members.
  void read_members();
  // Reads the declared types of every event's by-reference parameters.
  void read_event_params();
  // Runs member `id` as `kind` (DISPATCH_PROPERTYGET ...) through its row.
  Variant run_member(DISPID id, WORD kind, std::span<const Variant> args);

  // The caller's values as the library's, and the library's back into the
  // caller's out-parameters.
  static Variant in_value(short v) { return Variant(int16_t(v)); }
  static Variant in_value(LONG v) { return Variant(int32_t(v)); }
  static Variant in_value(ULONG v) { return Variant(int32_t(v)); }  // OLE_COLOR
  static Variant in_value(float v) { return Variant(v); }
  static Variant in_value(double v) { return Variant(v); }
  static Variant in_value(BSTR v) { return Variant(from_bstr(v)); }
  static Variant in_value(const VARIANT& v);
  static Variant in_value(IFontDisp* v);
  static Variant in_value(IPictureDisp* v);
  template <class E>
    requires std::is_enum_v<E>
  static Variant in_value(E v) { return Variant(int32_t(v)); }
  template <class T>
  static void clear_out(T* out) {
    if constexpr (std::is_same_v<T, VARIANT>) VariantInit(out);
    else *out = T{};
  }
  void store_out(DISPID, const Variant& v, short* out) { *out = v.to_integer(); }
  void store_out(DISPID, const Variant& v, LONG* out) { *out = v.to_long(); }
  void store_out(DISPID, const Variant& v, ULONG* out) { *out = ULONG(uint32_t(v.to_long())); }
  void store_out(DISPID, const Variant& v, float* out) { *out = v.to_single(); }
  void store_out(DISPID, const Variant& v, double* out) { *out = v.to_double(); }
  void store_out(DISPID, const Variant& v, BSTR* out);
  void store_out(DISPID, const Variant& v, VARIANT* out);
  void store_out(DISPID id, const Variant& v, IFontDisp** out);
  void store_out(DISPID, const Variant& v, IPictureDisp** out);
  template <class E>
    requires std::is_enum_v<E>
  void store_out(DISPID, const Variant& v, E* out) { *out = E(v.to_long()); }

  // The platform font object standing for the font a Font property gave,
  // kept while the property holds that font so that changes made through
  // it (ctl.Font.Size = 12) reach the control.
  IFontDisp* font_object(DISPID id, const FontRef& font);
  void drop_font_object();
 public:
  // A change made through the font object handed out.
  void font_object_changed();
 private:
  HRESULT in_place_activate(bool ui_activate);
  HRESULT ambient(DISPID id, VARIANT* out);
  DISPID dispid_of(std::u16string_view key);
  void send_view_change();
  HRESULT init_new();
  // Restores the control from the store, all or nothing.
  HRESULT load_properties(PropertyBag& source);
  // Runs the control's WriteProperties into bag.
  void write_properties(PropertyBag& bag);

  LONG refs_ = 0;
  const ClassInfo& info_;
  const MemberTable& members_;
  // The rows by dispatch id, from the type library.
  std::map<DISPID, const MemberRow*> rows_;
  // The pointed-to type of each event's parameters, by dispatch id.
  std::map<DISPID, std::vector<VARTYPE>> event_params_;
  CLSID clsid_;
  IID default_iid_;
  IID event_iid_;
  std::u16string prog_id_;
  std::unique_ptr<Control> control_;
  ComPtr<ITypeInfo> dispatch_info_;   // the dispatch view of the default interface
  ComPtr<ITypeInfo> interface_info_;  // its vtable view, for Invoke
  std::map<std::u16string, DISPID, std::less<>> dispids_;
  // The fewest and most arguments each member takes, by dispatch id and
  // kind of call: the platform's Invoke would run a member called with
  // extra arguments instead of refusing the call.
  struct ArgCount {
    DISPID id;
    WORD kind;
    UINT fewest;
    UINT most;
  };
  std::vector<ArgCount> arg_counts_;

  ComPtr<IOleClientSite> site_;
  ComPtr<IOleInPlaceSite> in_place_site_;
  ComPtr<IOleInPlaceFrame> frame_;
  ComPtr<IOleInPlaceUIWindow> doc_window_;
  ComPtr<IOleAdviseHolder> ole_advise_;
  ComPtr<IAdviseSink> view_sink_;
  DWORD view_sink_aspects_ = 0;
  DWORD view_sink_flags_ = 0;
  bool in_place_active_ = false;
  bool ui_active_ = false;
  SIZEL extent_ = {};  // HIMETRIC
  bool dirty_ = false;
  // Set while the control writes its properties: capturing the lists into
  // their texts announces the texts but does not make the object dirty.
  bool saving_ = false;
  int freeze_events_ = 0;

  std::unique_ptr<ConnectionPoint> events_;
  std::unique_ptr<ConnectionPoint> property_notify_;

  DISPID font_dispid_ = DISPID_UNKNOWN;  // the property font_object_ stands for
  FontRef font_ref_;                     // the control's font that font_object_ shows
  ComPtr<IFontDisp> font_object_;
  class FontSink* font_sink_ = nullptr;
  DWORD font_cookie_ = 0;
};

}  // namespace qs::activex
