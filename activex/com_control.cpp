#include "com_control.h"

#include <climits>
#include <new>

#include "com_property_bag.h"
#include "platform/win32/win32_gdi.h"
#include "platform/win32/win32_picture.h"
#include "property_stream.h"
#include "server_module.h"
#include "type_members.h"
#include "variant_convert.h"

namespace qs::activex {
namespace {

// The system's standard colour and font property pages.
constexpr CLSID kStockColorPage = {0x7EBDAAE1, 0x8120, 0x11CF,
                                   {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};
constexpr CLSID kStockFontPage = {0x7EBDAAE0, 0x8120, 0x11CF,
                                  {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};
constexpr wchar_t kContentsStream[] = L"Contents";

LONG himetric_to_pixels(LONG v, bool horizontal) {
  return MulDiv(v, win32::screen_dpi(horizontal), 2540);
}
LONG pixels_to_himetric(LONG v, bool horizontal) {
  return MulDiv(v, 2540, win32::screen_dpi(horizontal));
}

}  // namespace

// Tells the object when a client changes the font object it got from a Font
// property (ctl.Font.Size = 12).
class FontSink final : public SingleInterface<IPropertyNotifySink> {
 public:
  explicit FontSink(ComControl* owner) : owner_(owner) {}
  void detach() { owner_ = nullptr; }

  HRESULT STDMETHODCALLTYPE OnChanged(DISPID) override {
    if (owner_) owner_->font_object_changed();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

 private:
  ComControl* owner_;
};

ComControl::ComControl(const ClassInfo& info, const MemberTable& members)
    : info_(info),
      members_(members),
      clsid_(guid_from_string(info.clsid)),
      default_iid_(guid_from_string(info.default_iid)),
      event_iid_(info.event_iid ? guid_from_string(info.event_iid) : GUID_NULL),
      prog_id_(prog_id(info)) {
  add_module_ref();
  if (SUCCEEDED(type_info(default_iid_, dispatch_info_.put()))) {
    // A dual interface's dispatch view refers to its vtable view as -1.
    HREFTYPE ref = 0;
    if (SUCCEEDED(dispatch_info_->GetRefTypeOfImplType(-1, &ref)))
      dispatch_info_->GetRefTypeInfo(ref, interface_info_.put());
    if (!interface_info_) interface_info_ = dispatch_info_;
    read_members();
  }
  if (event_iid_ != GUID_NULL) {
    events_ = std::make_unique<ConnectionPoint>(this, event_iid_, IID_IDispatch);
    read_event_params();
  }
  property_notify_ =
      std::make_unique<ConnectionPoint>(this, IID_IPropertyNotifySink, GUID_NULL);
}

ComControl::~ComControl() {
  drop_font_object();
  // The control reports to this host until its last moment.
  control_.reset();
  release_module_ref();
}

void ComControl::set_control(std::unique_ptr<Control> control) {
  control_ = std::move(control);
  const Surface& s = control_->surface();
  extent_.cx = LONG(s.scale_width() * 2540.0f / 1440.0f + 0.5f);
  extent_.cy = LONG(s.scale_height() * 2540.0f / 1440.0f + 0.5f);
}

win32::Win32Surface& ComControl::surface() {
  return dynamic_cast<win32::Win32Surface&>(control_->surface());
}

// IUnknown

HRESULT ComControl::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleObject) *out = static_cast<IOleObject*>(this);
  else if (iid == IID_IDispatch || iid == default_iid_) *out = dispatch();
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
    *out = static_cast<IOleInPlaceObject*>(this);
  else if (iid == IID_IOleInPlaceActiveObject) *out = static_cast<IOleInPlaceActiveObject*>(this);
  else if (iid == IID_IOleControl) *out = static_cast<IOleControl*>(this);
  else if (iid == IID_IViewObject || iid == IID_IViewObject2) *out = static_cast<IViewObject2*>(this);
  else if (iid == IID_IPersist || iid == IID_IPersistStreamInit)
    *out = static_cast<IPersistStreamInit*>(this);
  else if (iid == IID_IPersistPropertyBag) *out = static_cast<IPersistPropertyBag*>(this);
  else if (iid == IID_IPersistStorage) *out = static_cast<IPersistStorage*>(this);
  else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
    *out = static_cast<IProvideClassInfo2*>(this);
  else if (iid == IID_IConnectionPointContainer)
    *out = static_cast<IConnectionPointContainer*>(this);
  else if (iid == IID_ISpecifyPropertyPages && !info_.property_pages.empty())
    *out = static_cast<ISpecifyPropertyPages*>(this);
  else if (iid == IID_ISupportErrorInfo) *out = static_cast<ISupportErrorInfo*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG ComControl::AddRef() { return InterlockedIncrement(&refs_); }

ULONG ComControl::Release() {
  LONG n = InterlockedDecrement(&refs_);
  if (n == 0) {
    // Guard against re-entry while tearing down (sinks release into us).
    refs_ = 1;
    delete this;
  }
  return ULONG(n);
}

// IOleObject

HRESULT ComControl::SetClientSite(IOleClientSite* site) {
  return entry_guard([&]() -> HRESULT {
    // A control moved to another site leaves the old one first: that site
    // must hear of the deactivation and stop hosting the control's window.
    if (site != site_.get()) InPlaceDeactivate();
    if (!site) {
      // Sinks and advise holders keep a container's objects alive; a
      // container that drops its site is done with us.
      view_sink_.reset();
    }
    site_ = ComPtr<IOleClientSite>(site);
    return S_OK;
  });
}

HRESULT ComControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = site_.get();
  if (*site) (*site)->AddRef();
  return S_OK;
}

HRESULT ComControl::Close(DWORD save_option) {
  return entry_guard([&]() -> HRESULT {
    if (dirty_ && site_ &&
        (save_option == OLECLOSE_SAVEIFDIRTY || save_option == OLECLOSE_PROMPTSAVE))
      site_->SaveObject();
    InPlaceDeactivate();
    if (ole_advise_) ole_advise_->SendOnClose();
    return S_OK;
  });
}

HRESULT ComControl::GetMoniker(DWORD, DWORD, IMoniker** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT ComControl::GetClipboardData(DWORD, IDataObject** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT ComControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
  return entry_guard([&]() -> HRESULT {
    if (site && !site_) SetClientSite(site);
    switch (verb) {
      case OLEIVERB_INPLACEACTIVATE: return in_place_activate(false);
      case OLEIVERB_PRIMARY:
      case OLEIVERB_SHOW:
      case OLEIVERB_UIACTIVATE: return in_place_activate(true);
      case OLEIVERB_HIDE:
        UIDeactivate();
        if (in_place_active_) ShowWindow(surface().hwnd(), SW_HIDE);
        return S_OK;
      case OLEIVERB_OPEN:
      case OLEIVERB_DISCARDUNDOSTATE: return S_OK;
      default:
        // The control has no verbs of its own. An unknown positive verb runs
        // the primary one; an unknown negative verb (the properties verb among
        // them) must fail so the container falls back to its own handling.
        if (verb < 0) return E_NOTIMPL;
        HRESULT hr = in_place_activate(true);
        return FAILED(hr) ? hr : OLEOBJ_S_INVALIDVERB;
    }
  });
}

HRESULT ComControl::in_place_activate(bool ui_activate) {
  if (!site_) return E_UNEXPECTED;
  if (!in_place_active_) {
    ComPtr<IOleInPlaceSite> ips = site_.as<IOleInPlaceSite>(IID_IOleInPlaceSite);
    if (!ips) return E_NOINTERFACE;
    if (ips->CanInPlaceActivate() != S_OK) return E_FAIL;
    ips->OnInPlaceActivate();
    HWND parent = nullptr;
    if (FAILED(ips->GetWindow(&parent)) || !parent) {
      ips->OnInPlaceDeactivate();
      return E_FAIL;
    }
    RECT pos = {}, clip = {};
    OLEINPLACEFRAMEINFO frame_info = {};
    frame_info.cb = sizeof(frame_info);
    ips->GetWindowContext(frame_.put(), doc_window_.put(), &pos, &clip, &frame_info);
    surface().attach(parent, pos);
    in_place_site_ = ips;
    in_place_active_ = true;
    site_->ShowObject();
  } else {
    ShowWindow(surface().hwnd(), SW_SHOW);
  }
  if (ui_activate && !ui_active_) {
    ui_active_ = true;
    in_place_site_->OnUIActivate();
    auto* active = static_cast<IOleInPlaceActiveObject*>(this);
    if (frame_) frame_->SetActiveObject(active, nullptr);
    if (doc_window_) doc_window_->SetActiveObject(active, nullptr);
  }
  return S_OK;
}

HRESULT ComControl::EnumVerbs(IEnumOLEVERB** out) {
  if (!out) return E_POINTER;
  return OleRegEnumVerbs(clsid_, out);
}

HRESULT ComControl::GetUserClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = clsid_;
  return S_OK;
}

HRESULT ComControl::GetUserType(DWORD, LPOLESTR* out) {
  return entry_guard([&]() -> HRESULT {
    if (!out) return E_POINTER;
    std::u16string name(info_.name);
    *out = static_cast<LPOLESTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(wchar_t)));
    if (!*out) return E_OUTOFMEMORY;
    memcpy(*out, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    return S_OK;
  });
}

HRESULT ComControl::SetExtent(DWORD aspect, SIZEL* size) {
  return entry_guard([&]() -> HRESULT {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    extent_ = *size;
    // Some containers send extents that do not match the rectangle they give
    // later; once in place, the object rectangles decide the window's size.
    if (!in_place_active_)
      surface().set_rect(RECT{0, 0, himetric_to_pixels(size->cx, true),
                              himetric_to_pixels(size->cy, false)});
    return S_OK;
  });
}

HRESULT ComControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

HRESULT ComControl::Advise(IAdviseSink* sink, DWORD* cookie) {
  return entry_guard([&]() -> HRESULT {
    if (!ole_advise_ && FAILED(CreateOleAdviseHolder(ole_advise_.put()))) return E_OUTOFMEMORY;
    return ole_advise_->Advise(sink, cookie);
  });
}

HRESULT ComControl::Unadvise(DWORD cookie) {
  if (!ole_advise_) return OLE_E_NOCONNECTION;
  return ole_advise_->Unadvise(cookie);
}

HRESULT ComControl::EnumAdvise(IEnumSTATDATA** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!ole_advise_) return S_OK;
  return ole_advise_->EnumAdvise(out);
}

HRESULT ComControl::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (!status) return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? info_.misc_status : 0;
  return S_OK;
}

// IOleInPlaceObject

HRESULT ComControl::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = in_place_active_ ? surface().hwnd() : nullptr;
  return in_place_active_ ? S_OK : E_FAIL;
}

HRESULT ComControl::InPlaceDeactivate() {
  return entry_guard([&]() -> HRESULT {
    if (!in_place_active_) return S_OK;
    UIDeactivate();
    in_place_active_ = false;
    surface().attach(nullptr, RECT{});
    ComPtr<IOleInPlaceSite> ips = in_place_site_;
    in_place_site_.reset();
    frame_.reset();
    doc_window_.reset();
    if (ips) ips->OnInPlaceDeactivate();
    return S_OK;
  });
}

HRESULT ComControl::UIDeactivate() {
  return entry_guard([&]() -> HRESULT {
    if (!ui_active_) return S_OK;
    ui_active_ = false;
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (doc_window_) doc_window_->SetActiveObject(nullptr, nullptr);
    if (in_place_site_) in_place_site_->OnUIDeactivate(FALSE);
    return S_OK;
  });
}

HRESULT ComControl::SetObjectRects(LPCRECT pos, LPCRECT) {
  return entry_guard([&]() -> HRESULT {
    if (!pos) return E_POINTER;
    surface().set_rect(*pos);
    extent_.cx = pixels_to_himetric(pos->right - pos->left, true);
    extent_.cy = pixels_to_himetric(pos->bottom - pos->top, false);
    return S_OK;
  });
}

// IOleControl

HRESULT ComControl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT ComControl::OnAmbientPropertyChange(DISPID) {
  // The control asks for ambient values when it needs them; nothing is cached.
  return S_OK;
}

HRESULT ComControl::FreezeEvents(BOOL freeze) {
  freeze_events_ += freeze ? 1 : -1;
  if (freeze_events_ < 0) freeze_events_ = 0;
  return S_OK;
}

// IViewObject2

HRESULT ComControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                         LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                         ULONG_PTR) {
  return entry_guard([&]() -> HRESULT {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc || !bounds) return E_INVALIDARG;
    RECT r = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    surface().draw(dc, r);
    return S_OK;
  });
}

HRESULT ComControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  view_sink_ = ComPtr<IAdviseSink>(sink);
  view_sink_aspects_ = aspects;
  view_sink_flags_ = flags;
  return S_OK;
}

HRESULT ComControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = view_sink_aspects_;
  if (flags) *flags = view_sink_flags_;
  if (sink) {
    *sink = view_sink_.get();
    if (*sink) (*sink)->AddRef();
  }
  return S_OK;
}

HRESULT ComControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

void ComControl::send_view_change() {
  if (view_sink_ && (view_sink_aspects_ & DVASPECT_CONTENT))
    view_sink_->OnViewChange(DVASPECT_CONTENT, -1);
}

// Persistence

HRESULT ComControl::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = clsid_;
  return S_OK;
}

HRESULT ComControl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT ComControl::init_new() {
  HRESULT hr = call([&] { control_->InitProperties(); });
  if (SUCCEEDED(hr)) dirty_ = false;
  return hr;
}

namespace {

// The host of a trial restore: the control sees the real host's ambient
// values, while its notifications and events go nowhere.
class TrialHost final : public Host {
 public:
  explicit TrialHost(Host& real) : real_(real) {}
  FontRef ambient_font() override { return real_.ambient_font(); }
  bool user_mode() override { return real_.user_mode(); }
  void property_changed(std::u16string_view) override {}
  void raise_event(int, std::vector<Variant*>) override {}

 private:
  Host& real_;
};

// Reads through to the container's store and keeps every value it gave, so
// the same values can be read a second time without asking the container.
class ReadRecorder final : public PropertyBag {
 public:
  ReadRecorder(PropertyBag& source, MemoryPropertyBag& seen) : source_(source), seen_(seen) {}

 protected:
  std::optional<Variant> load(std::u16string_view key) override {
    std::optional<Variant> value = source_.lookup(key);
    if (value) seen_.put(key, *value);
    return value;
  }
  void store(std::u16string_view, const Variant&) override { throw ComFailure{E_UNEXPECTED}; }
  void erase(std::u16string_view) override { throw ComFailure{E_UNEXPECTED}; }

 private:
  PropertyBag& source_;
  MemoryPropertyBag& seen_;
};

}  // namespace

HRESULT ComControl::load_properties(PropertyBag& source) {
  // A restore is all or nothing: it runs first on a fresh control of the
  // same class, and only when that succeeds are the same values applied to
  // this one. A refused set leaves this control exactly as it was.
  MemoryPropertyBag values;
  HRESULT hr = call([&] {
    TrialHost trial_host(host());
    std::unique_ptr<Control> trial = make_control(trial_host);
    ReadRecorder recorder(source, values);
    trial->ReadProperties(recorder);
  });
  if (FAILED(hr)) return hr;
  hr = call([&] { control_->ReadProperties(values); });
  if (SUCCEEDED(hr)) dirty_ = false;
  send_view_change();
  return hr;
}

void ComControl::write_properties(PropertyBag& bag) {
  struct Saving {
    bool& flag;
    explicit Saving(bool& f) : flag(f) { flag = true; }
    ~Saving() { flag = false; }
  } saving(saving_);
  control_->WriteProperties(bag);
}

HRESULT ComControl::InitNew() { return init_new(); }

HRESULT ComControl::Load(IStream* stream) {
  if (!stream) return E_POINTER;
  MemoryPropertyBag bag;
  HRESULT hr = call([&] { read_property_stream(stream, bag); });
  if (FAILED(hr)) return hr;
  return load_properties(bag);
}

HRESULT ComControl::Save(IStream* stream, BOOL clear_dirty) {
  if (!stream) return E_POINTER;
  HRESULT hr = call([&] {
    MemoryPropertyBag bag;
    write_properties(bag);
    write_property_stream(bag, stream);
  });
  if (SUCCEEDED(hr) && clear_dirty) dirty_ = false;
  return hr;
}

HRESULT ComControl::GetSizeMax(ULARGE_INTEGER* size) {
  return entry_guard([&]() -> HRESULT {
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return E_OUTOFMEMORY;
    HRESULT hr = call([&] {
      MemoryPropertyBag bag;
      write_properties(bag);
      write_property_stream(bag, stream.get());
    });
    if (FAILED(hr)) return hr;
    STATSTG stat = {};
    hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (SUCCEEDED(hr)) *size = stat.cbSize;
    return hr;
  });
}

HRESULT ComControl::Load(IPropertyBag* bag, IErrorLog* log) {
  if (!bag) return E_POINTER;
  ComPropertyBag adaptor(bag, log);
  return load_properties(adaptor);
}

HRESULT ComControl::Save(IPropertyBag* bag, BOOL clear_dirty, BOOL) {
  if (!bag) return E_POINTER;
  ComPropertyBag adaptor(bag, nullptr);
  HRESULT hr = call([&] { write_properties(adaptor); });
  if (SUCCEEDED(hr) && clear_dirty) dirty_ = false;
  return hr;
}

HRESULT ComControl::InitNew(IStorage* storage) {
  if (!storage) return E_POINTER;
  return init_new();
}

HRESULT ComControl::Load(IStorage* storage) {
  if (!storage) return E_POINTER;
  ComPtr<IStream> stream;
  HRESULT hr = storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE,
                                   0, stream.put());
  if (FAILED(hr)) return hr;
  return Load(stream.get());
}

HRESULT ComControl::Save(IStorage* storage, BOOL) {
  if (!storage) return E_POINTER;
  ComPtr<IStream> stream;
  HRESULT hr = storage->CreateStream(
      kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.put());
  if (FAILED(hr)) return hr;
  return Save(stream.get(), TRUE);
}

// IProvideClassInfo2

HRESULT ComControl::GetClassInfo(ITypeInfo** out) {
  if (!out) return E_POINTER;
  return type_info(clsid_, out);
}

HRESULT ComControl::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = event_iid_;
  return event_iid_ == GUID_NULL ? E_UNEXPECTED : S_OK;
}

// IConnectionPointContainer

HRESULT ComControl::EnumConnectionPoints(IEnumConnectionPoints** out) {
  return entry_guard([&]() -> HRESULT {
    std::vector<IConnectionPoint*> points;
    if (events_) points.push_back(events_.get());
    points.push_back(property_notify_.get());
    return make_connection_point_enum(std::move(points), out);
  });
}

HRESULT ComControl::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (events_ && iid == events_->iid()) *out = events_.get();
  else if (iid == IID_IPropertyNotifySink) *out = property_notify_.get();
  if (!*out) return CONNECT_E_NOCONNECTION;
  (*out)->AddRef();
  return S_OK;
}

// ISpecifyPropertyPages

HRESULT ComControl::GetPages(CAUUID* pages) {
  return entry_guard([&]() -> HRESULT {
    if (!pages) return E_POINTER;
    const auto& names = info_.property_pages;
    pages->cElems = 0;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID) * (names.size() + 1)));
    if (!pages->pElems) return E_OUTOFMEMORY;
    for (std::u16string_view name : names) {
      GUID page = GUID_NULL;
      if (name == u"StandardColor") page = kStockColorPage;
      else if (name == u"StandardFont") page = kStockFontPage;
      else if (const ClassInfo* c = find_class(name)) page = guid_from_string(c->clsid);
      if (page != GUID_NULL) pages->pElems[pages->cElems++] = page;
    }
    return S_OK;
  });
}

HRESULT ComControl::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == default_iid_ || iid == IID_IDispatch ? S_OK : S_FALSE;
}

// IDispatch

void ComControl::read_members() {
  for (const TypeMember& m : type_members(interface_info_.get())) {
    arg_counts_.push_back({m.id, WORD(m.kind), m.fewest, m.most});
    if (const MemberRow* row = members_.find(m.name)) rows_[m.id] = row;
  }
}

void ComControl::read_event_params() {
  ComPtr<ITypeInfo> events;
  if (FAILED(type_info(event_iid_, events.put()))) return;
  for (TypeMember& m : type_members(events.get())) event_params_[m.id] = std::move(m.pointed);
}

Variant ComControl::run_member(DISPID id, WORD kind, std::span<const Variant> args) {
  auto it = rows_.find(id);
  if (it == rows_.end()) throw ComFailure{DISP_E_MEMBERNOTFOUND};
  const MemberRow& row = *it->second;
  if ((kind & DISPATCH_PROPERTYGET) && row.get) return row.get(*control_, args);
  if ((kind & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && row.put && !args.empty()) {
    row.put(*control_, args.first(args.size() - 1), args.back());
    return Variant();
  }
  if ((kind & DISPATCH_METHOD) && row.call) return row.call(*control_, args);
  throw ComFailure{DISP_E_MEMBERNOTFOUND};
}

Variant ComControl::in_value(const VARIANT& v) { return from_variant(v); }

Variant ComControl::in_value(IFontDisp* v) {
  // Assigning no object to an object property: the runtime's "object required".
  if (!v) throw RuntimeError(kErrObjectRequired);
  return Variant(make_font(font_desc_of(v)));
}

Variant ComControl::in_value(IPictureDisp* v) {
  // Assigning no object to a picture property gives it no picture.
  if (!v) return Variant(PictureRef());
  return Variant(picture_from_object(v));
}

void ComControl::store_out(DISPID, const Variant& v, IPictureDisp** out) {
  *out = picture_object(v.to_picture());
}

void ComControl::store_out(DISPID, const Variant& v, BSTR* out) {
  BSTR text = make_bstr(v.to_text());
  if (!text) throw std::bad_alloc();
  *out = text;
}

void ComControl::store_out(DISPID, const Variant& v, VARIANT* out) { to_variant(v, out); }

void ComControl::store_out(DISPID id, const Variant& v, IFontDisp** out) {
  FontRef font = v.to_font();
  if (!font) return;
  *out = font_object(id, font);
  (*out)->AddRef();
}

void ComControl::drop_font_object() {
  if (font_object_ && font_sink_) {
    ComPtr<IConnectionPointContainer> cpc =
        font_object_.as<IConnectionPointContainer>(IID_IConnectionPointContainer);
    ComPtr<IConnectionPoint> cp;
    if (cpc && SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, cp.put())))
      cp->Unadvise(font_cookie_);
  }
  if (font_sink_) {
    font_sink_->detach();
    font_sink_->Release();
    font_sink_ = nullptr;
  }
  font_object_.reset();
  font_ref_.reset();
  font_cookie_ = 0;
  font_dispid_ = DISPID_UNKNOWN;
}

IFontDisp* ComControl::font_object(DISPID id, const FontRef& font) {
  if (id != font_dispid_ || font != font_ref_ || !font_object_ ||
      font_desc_of(font_object_.get()) != font->desc()) {
    drop_font_object();
    IFontDisp* created = create_font_object(font->desc());
    if (!created) throw ComFailure{E_OUTOFMEMORY};
    font_object_ = ComPtr<IFontDisp>(created);
    created->Release();
    font_ref_ = font;
    font_dispid_ = id;
    font_sink_ = new FontSink(this);
    ComPtr<IConnectionPointContainer> cpc =
        font_object_.as<IConnectionPointContainer>(IID_IConnectionPointContainer);
    ComPtr<IConnectionPoint> cp;
    if (cpc && SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, cp.put())))
      cp->Advise(font_sink_, &font_cookie_);
  }
  return font_object_.get();
}

void ComControl::font_object_changed() {
  if (!font_object_ || !font_ref_) return;
  FontRef font = font_ref_;
  const DISPID id = font_dispid_;
  call([&] {
    font->desc() = font_desc_of(font_object_.get());
    const Variant value(font);
    run_member(id, DISPATCH_PROPERTYPUTREF, std::span<const Variant>(&value, 1));
    // The setter may have taken a copy; keep the object as the face of
    // whatever the control holds now.
    font_ref_ = run_member(id, DISPATCH_PROPERTYGET, {}).to_font();
  });
}

HRESULT ComControl::dispatch_type_info_count(UINT* count) {
  if (!count) return E_POINTER;
  *count = dispatch_info_ ? 1 : 0;
  return S_OK;
}

HRESULT ComControl::dispatch_type_info(UINT index, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  if (!dispatch_info_) return TYPE_E_CANTLOADLIBRARY;
  *out = dispatch_info_.get();
  (*out)->AddRef();
  return S_OK;
}

HRESULT ComControl::dispatch_ids_of_names(REFIID iid, LPOLESTR* names, UINT count,
                                          DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!dispatch_info_) return TYPE_E_CANTLOADLIBRARY;
  return DispGetIDsOfNames(dispatch_info_.get(), names, count, ids);
}

namespace {

// Whether a caller's argument can be read without following a null
// reference (the platform's Invoke would follow it).
bool readable(const VARIANT& v, int depth = 0) {
  if (!(V_VT(&v) & VT_BYREF)) return true;
  if (!V_BYREF(&v)) return false;
  if (V_VT(&v) == (VT_BYREF | VT_VARIANT)) return depth < 4 && readable(*V_VARIANTREF(&v), depth + 1);
  return true;
}

}  // namespace

HRESULT ComControl::dispatch_invoke(DISPID id, REFIID iid, WORD flags, DISPPARAMS* params,
                                    VARIANT* result, EXCEPINFO* excep, UINT* arg_err) {
  if (!params) return E_POINTER;
  // Counts without their arrays, or more names than arguments, are refused
  // before the platform's Invoke reads them.
  if ((params->cArgs > 0 && !params->rgvarg) ||
      (params->cNamedArgs > 0 && !params->rgdispidNamedArgs) || params->cNamedArgs > params->cArgs)
    return E_INVALIDARG;
  for (UINT i = 0; i < params->cArgs; ++i) {
    if (readable(params->rgvarg[i])) continue;
    if (arg_err) *arg_err = i;
    return DISP_E_TYPEMISMATCH;
  }
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!interface_info_) return TYPE_E_CANTLOADLIBRARY;
  bool known = false, fits = false;
  for (const ArgCount& c : arg_counts_) {
    if (c.id != id || !(c.kind & flags)) continue;
    known = true;
    fits = fits || (params->cArgs >= c.fewest && params->cArgs <= c.most);
  }
  if (known && !fits) return DISP_E_BADPARAMCOUNT;
  clear_error();
  return DispInvoke(dispatch(), interface_info_.get(), id, flags, params, result, excep, arg_err);
}

// Host

HRESULT ComControl::ambient(DISPID id, VARIANT* out) {
  VariantInit(out);
  if (!site_) return E_FAIL;
  ComPtr<IDispatch> ambients = site_.as<IDispatch>(IID_IDispatch);
  if (!ambients) return E_NOINTERFACE;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return ambients->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, out,
                          nullptr, nullptr);
}

FontRef ComControl::ambient_font() {
  VARIANT v;
  if (FAILED(ambient(DISPID_AMBIENT_FONT, &v))) return nullptr;
  FontRef font;
  if ((V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) && V_UNKNOWN(&v)) {
    try {
      font = make_font(font_desc_of(V_UNKNOWN(&v)));
    } catch (const RuntimeError&) {
      // Not a font object: the control falls back to its default font.
    }
  }
  VariantClear(&v);
  return font;
}

bool ComControl::user_mode() {
  VARIANT v;
  if (FAILED(ambient(DISPID_AMBIENT_USERMODE, &v))) return true;
  bool run = true;
  if (V_VT(&v) == VT_BOOL) run = V_BOOL(&v) != VARIANT_FALSE;
  VariantClear(&v);
  return run;
}

DISPID ComControl::dispid_of(std::u16string_view key) {
  auto it = dispids_.find(key);
  if (it != dispids_.end()) return it->second;
  // A change is announced under the member's store key; the host hears of
  // it under the member's dispatch id.
  DISPID id = DISPID_UNKNOWN;
  for (const auto& [member_id, row] : rows_)
    if (row->key() == key || (id == DISPID_UNKNOWN && row->name == key)) id = member_id;
  dispids_.emplace(std::u16string(key), id);
  return id;
}

void ComControl::property_changed(std::u16string_view name) {
  if (!saving_) dirty_ = true;
  DISPID id = dispid_of(name);
  for (const ComPtr<IUnknown>& sink : property_notify_->sinks())
    static_cast<IPropertyNotifySink*>(sink.get())->OnChanged(id);
  send_view_change();
}

void ComControl::raise_event(int dispid, std::vector<Variant*> args) {
  if (!events_ || freeze_events_ > 0) return;
  std::vector<ComPtr<IUnknown>> sinks = events_->sinks();
  if (sinks.empty()) return;
  // Arguments go by reference, last first as IDispatch expects, each as the
  // type the event interface declares (short* as a reference to a 16-bit
  // integer...), so that sinks invoking through the type library take them.
  const size_t n = args.size();
  const std::vector<VARTYPE>* declared = nullptr;
  if (auto it = event_params_.find(dispid); it != event_params_.end()) declared = &it->second;
  std::vector<VARIANT> values(n);
  std::vector<VARIANT> refs(n);
  for (size_t i = 0; i < n; ++i) {
    to_variant(*args[i], &values[i]);
    VARIANT& ref = refs[n - 1 - i];
    VariantInit(&ref);
    const VARTYPE vt = declared && i < declared->size() ? (*declared)[i] : VARTYPE(VT_VARIANT);
    if (vt != VT_VARIANT && SUCCEEDED(VariantChangeType(&values[i], &values[i], 0, vt))) {
      V_VT(&ref) = VT_BYREF | vt;
      V_BYREF(&ref) = &V_I4(&values[i]);  // the value's storage, whatever its type
    } else {
      V_VT(&ref) = VT_BYREF | VT_VARIANT;
      V_VARIANTREF(&ref) = &values[i];
    }
  }
  DISPPARAMS params = {n ? refs.data() : nullptr, nullptr, UINT(n), 0};
  for (const ComPtr<IUnknown>& sink : sinks) {
    auto* target = static_cast<IDispatch*>(sink.get());
    target->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                   nullptr, nullptr);
  }
  for (size_t i = 0; i < n; ++i) {
    try {
      *args[i] = from_variant(values[i]);
    } catch (const RuntimeError&) {
      // A sink that put back a value of no known kind leaves the argument as it was.
    }
    VariantClear(&values[i]);
  }
}

}  // namespace qs::activex
