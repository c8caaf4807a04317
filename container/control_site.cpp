#include "container/control_site.h"

#include <stdexcept>

#include "container/class_lookup.h"
#include "container/container.h"
#include "container/event_sink.h"
#include "container/form_property_bag.h"

namespace qs::container {

using Microsoft::WRL::ComPtr;

namespace {

std::string narrow(const std::wstring& s) {
  int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

void check(HRESULT hr, const char* step, const std::wstring& what) {
  if (FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    throw std::runtime_error(std::string(step) + " failed for " + narrow(what) + ": " + code);
  }
}

// The default source interface of a control and its type information, found
// through IProvideClassInfo2 or the coclass's implemented types.
HRESULT find_source_interface(IUnknown* control, IID* iid, ComPtr<ITypeInfo>* info) {
  ComPtr<IProvideClassInfo> provider;
  HRESULT hr = control->QueryInterface(IID_PPV_ARGS(&provider));
  if (FAILED(hr)) return hr;
  ComPtr<IProvideClassInfo2> provider2;
  bool have_iid = SUCCEEDED(provider.As(&provider2)) &&
                  SUCCEEDED(provider2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, iid));
  ComPtr<ITypeInfo> coclass;
  if (FAILED(hr = provider->GetClassInfo(&coclass))) return have_iid ? S_OK : hr;
  TYPEATTR* attr = nullptr;
  if (FAILED(hr = coclass->GetTypeAttr(&attr))) return have_iid ? S_OK : hr;
  WORD count = attr->cImplTypes;
  coclass->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags))) continue;
    if ((flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) !=
        (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE))
      continue;
    HREFTYPE ref;
    ComPtr<ITypeInfo> source;
    if (FAILED(coclass->GetRefTypeOfImplType(i, &ref)) || FAILED(coclass->GetRefTypeInfo(ref, &source)))
      continue;
    TYPEATTR* source_attr = nullptr;
    if (FAILED(source->GetTypeAttr(&source_attr))) continue;
    if (!have_iid) *iid = source_attr->guid;
    bool same = IsEqualIID(*iid, source_attr->guid);
    source->ReleaseTypeAttr(source_attr);
    if (same) *info = source;
    return S_OK;
  }
  return have_iid ? S_OK : E_NOINTERFACE;
}

void set_bool(VARIANT* v, bool b) {
  v->vt = VT_BOOL;
  v->boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
}

struct AmbientName {
  const wchar_t* name;
  DISPID id;
};

const AmbientName kAmbientNames[] = {
    {L"BackColor", DISPID_AMBIENT_BACKCOLOR},   {L"DisplayName", DISPID_AMBIENT_DISPLAYNAME},
    {L"Font", DISPID_AMBIENT_FONT},             {L"ForeColor", DISPID_AMBIENT_FORECOLOR},
    {L"LocaleID", DISPID_AMBIENT_LOCALEID},     {L"MessageReflect", DISPID_AMBIENT_MESSAGEREFLECT},
    {L"UserMode", DISPID_AMBIENT_USERMODE},     {L"UIDead", DISPID_AMBIENT_UIDEAD},
    {L"ShowGrabHandles", DISPID_AMBIENT_SHOWGRABHANDLES},
    {L"ShowHatching", DISPID_AMBIENT_SHOWHATCHING},
    {L"SupportsMnemonics", DISPID_AMBIENT_SUPPORTSMNEMONICS},
    {L"AutoClip", DISPID_AMBIENT_AUTOCLIP},     {L"Appearance", DISPID_AMBIENT_APPEARANCE},
    {L"TextAlign", DISPID_AMBIENT_TEXTALIGN},   {L"ScaleUnits", DISPID_AMBIENT_SCALEUNITS},
};

}  // namespace

ControlSite::ControlSite(Container* container, std::wstring prog_id, std::wstring name, RECT rect)
    : container_(container), prog_id_(std::move(prog_id)), name_(std::move(name)), rect_(rect) {}

ControlSite::~ControlSite() = default;

void ControlSite::create(const std::vector<FormProperty>* properties) {
  check(create_by_prog_id(prog_id_, IID_PPV_ARGS(&object_)), "creating", prog_id_);

  DWORD misc = 0;
  object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
  bool site_first = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
  if (site_first) check(object_->SetClientSite(this), "SetClientSite", name_);

  ComPtr<IPersistPropertyBag> bag_persist;
  ComPtr<IPersistStreamInit> stream_persist;
  object_.As(&bag_persist);
  object_.As(&stream_persist);
  const FormValue* stream_data = nullptr;
  if (properties) {
    for (const FormProperty& p : *properties)
      if (p.key == kStreamKey && p.value.kind == FormValue::Kind::Bytes) stream_data = &p.value;
  }
  if (stream_data && stream_persist) {
    ComPtr<IStream> stream;
    check(CreateStreamOnHGlobal(nullptr, TRUE, &stream), "CreateStreamOnHGlobal", name_);
    ULONG written = 0;
    if (!stream_data->bytes.empty())
      stream->Write(stream_data->bytes.data(), static_cast<ULONG>(stream_data->bytes.size()), &written);
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    check(stream_persist->Load(stream.Get()), "IPersistStreamInit::Load", name_);
  } else if (properties && bag_persist) {
    std::vector<FormProperty> copy = *properties;
    auto* bag = new FormPropertyBag(copy);
    HRESULT hr = bag_persist->Load(bag, bag);
    bag->Release();
    check(hr, "IPersistPropertyBag::Load", name_);
  } else if (bag_persist) {
    check(bag_persist->InitNew(), "IPersistPropertyBag::InitNew", name_);
  } else if (stream_persist) {
    check(stream_persist->InitNew(), "IPersistStreamInit::InitNew", name_);
  }

  if (!site_first) check(object_->SetClientSite(this), "SetClientSite", name_);
  object_->SetHostNames(L"QuorralSet container", name_.c_str());
  object_.As(&dispatch_);
  if (dispatch_) dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &dispatch_info_);
  connect_sinks();

  SIZEL extent{pixels_to_himetric(rect_.right - rect_.left, true),
               pixels_to_himetric(rect_.bottom - rect_.top, false)};
  object_->SetExtent(DVASPECT_CONTENT, &extent);
  RECT pos = rect_;
  check(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, container_->window(), &pos),
        "DoVerb(OLEIVERB_INPLACEACTIVATE)", name_);
  object_.As(&in_place_object_);
  if (in_place_object_) in_place_object_->SetObjectRects(&rect_, &rect_);
}

void ControlSite::connect_sinks() {
  ComPtr<IConnectionPointContainer> points;
  if (FAILED(object_.As(&points))) return;
  IID source_iid;
  ComPtr<ITypeInfo> source_info;
  if (SUCCEEDED(find_source_interface(object_.Get(), &source_iid, &source_info)) &&
      SUCCEEDED(points->FindConnectionPoint(source_iid, &event_point_))) {
    event_sink_ = new EventSink(this, source_iid, source_info);
    if (FAILED(event_point_->Advise(event_sink_, &event_cookie_))) event_point_.Reset();
  }
  if (SUCCEEDED(points->FindConnectionPoint(IID_IPropertyNotifySink, &notify_point_)) &&
      FAILED(notify_point_->Advise(static_cast<IPropertyNotifySink*>(this), &notify_cookie_)))
    notify_point_.Reset();
}

void ControlSite::disconnect_sinks() {
  if (event_point_) event_point_->Unadvise(event_cookie_);
  event_point_.Reset();
  if (event_sink_) {
    event_sink_->detach();
    event_sink_->Release();
    event_sink_ = nullptr;
  }
  if (notify_point_) notify_point_->Unadvise(notify_cookie_);
  notify_point_.Reset();
}

HRESULT ControlSite::save(std::vector<FormProperty>& out, bool as_stream) {
  if (!object_) return E_UNEXPECTED;
  ComPtr<IPersistPropertyBag> bag_persist;
  if (!as_stream && SUCCEEDED(object_.As(&bag_persist))) {
    auto* bag = new FormPropertyBag(out);
    HRESULT hr = bag_persist->Save(bag, TRUE, TRUE);
    bag->Release();
    return hr;
  }
  ComPtr<IPersistStreamInit> stream_persist;
  HRESULT hr = object_.As(&stream_persist);
  if (FAILED(hr)) return hr;
  ComPtr<IStream> stream;
  if (FAILED(hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return hr;
  if (FAILED(hr = stream_persist->Save(stream.Get(), TRUE))) return hr;
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  HGLOBAL memory;
  if (FAILED(hr = GetHGlobalFromStream(stream.Get(), &memory))) return hr;
  FormValue value;
  value.kind = FormValue::Kind::Bytes;
  auto* data = static_cast<const uint8_t*>(GlobalLock(memory));
  value.bytes.assign(data, data + stat.cbSize.LowPart);
  GlobalUnlock(memory);
  out.push_back({kStreamKey, std::move(value)});
  return S_OK;
}

void ControlSite::move(RECT rect) {
  rect_ = rect;
  if (!object_) return;
  SIZEL extent{pixels_to_himetric(rect.right - rect.left, true),
               pixels_to_himetric(rect.bottom - rect.top, false)};
  object_->SetExtent(DVASPECT_CONTENT, &extent);
  if (in_place_object_) in_place_object_->SetObjectRects(&rect_, &rect_);
}

void ControlSite::close() {
  if (!object_) return;
  ComPtr<IOleObject> object = object_;
  disconnect_sinks();
  if (in_place_object_) in_place_object_->InPlaceDeactivate();
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
  in_place_object_.Reset();
  dispatch_info_.Reset();
  dispatch_.Reset();
  object_.Reset();
}

void ControlSite::ambient_changed(DISPID id) {
  ComPtr<IOleControl> control;
  if (object_ && SUCCEEDED(object_.As(&control))) control->OnAmbientPropertyChange(id);
}

HWND ControlSite::control_window() const {
  HWND hwnd = nullptr;
  if (in_place_object_ && SUCCEEDED(in_place_object_->GetWindow(&hwnd))) return hwnd;
  return nullptr;
}

void ControlSite::on_event(const std::wstring& event_name) {
  container_->log(L"event " + name_ + L"." + event_name);
}

HRESULT ControlSite::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
  else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
  else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
    *out = static_cast<IOleInPlaceFrame*>(this);
  else if (riid == IID_IOleControlSite) *out = static_cast<IOleControlSite*>(this);
  else if (riid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
  else if (riid == IID_IPropertyNotifySink) *out = static_cast<IPropertyNotifySink*>(this);
  else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG ControlSite::Release() {
  ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT ControlSite::GetMoniker(DWORD, DWORD, IMoniker** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT ControlSite::GetContainer(IOleContainer** out) {
  if (out) *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT ControlSite::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = container_->window();
  return S_OK;
}

HRESULT ControlSite::OnInPlaceActivate() {
  in_place_ = true;
  return S_OK;
}

HRESULT ControlSite::OnInPlaceDeactivate() {
  in_place_ = false;
  return S_OK;
}

HRESULT ControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                      LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
  AddRef();
  *frame = static_cast<IOleInPlaceFrame*>(this);
  *doc = nullptr;
  *pos = rect_;
  GetClientRect(container_->window(), clip);
  info->fMDIApp = FALSE;
  info->hwndFrame = container_->window();
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT ControlSite::OnPosRectChange(LPCRECT rect) {
  if (!rect) return E_POINTER;
  rect_ = *rect;
  if (in_place_object_) in_place_object_->SetObjectRects(&rect_, &rect_);
  return S_OK;
}

HRESULT ControlSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  container_->set_active_object(object);
  return S_OK;
}

HRESULT ControlSite::GetExtendedControl(IDispatch** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT ControlSite::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) {
  if (!himetric || !container) return E_POINTER;
  if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
    container->x = static_cast<float>(himetric_to_pixels(himetric->x, true));
    container->y = static_cast<float>(himetric_to_pixels(himetric->y, false));
  } else if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
    himetric->x = pixels_to_himetric(static_cast<LONG>(container->x), true);
    himetric->y = pixels_to_himetric(static_cast<LONG>(container->y), false);
  } else {
    return E_INVALIDARG;
  }
  return S_OK;
}

HRESULT ControlSite::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT ControlSite::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT ControlSite::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    if (i == 0) {
      for (const AmbientName& a : kAmbientNames)
        if (_wcsicmp(a.name, names[0]) == 0) ids[0] = a.id;
    }
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT ControlSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                            UINT*) {
  if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  ambient_reads_.push_back(id);
  VARIANT value;
  VariantInit(&value);
  bool design = container_->design_mode();
  switch (id) {
    case DISPID_AMBIENT_USERMODE: set_bool(&value, !design); break;
    case DISPID_AMBIENT_UIDEAD: set_bool(&value, false); break;
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING: set_bool(&value, design); break;
    case DISPID_AMBIENT_MESSAGEREFLECT: set_bool(&value, false); break;
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
    case DISPID_AMBIENT_AUTOCLIP: set_bool(&value, true); break;
    case DISPID_AMBIENT_BACKCOLOR: value.vt = VT_I4; value.lVal = static_cast<LONG>(container_->ambient_back_color()); break;
    case DISPID_AMBIENT_FORECOLOR: value.vt = VT_I4; value.lVal = static_cast<LONG>(container_->ambient_fore_color()); break;
    case DISPID_AMBIENT_LOCALEID: value.vt = VT_I4; value.lVal = static_cast<LONG>(GetUserDefaultLCID()); break;
    case DISPID_AMBIENT_APPEARANCE: value.vt = VT_I2; value.iVal = 1; break;
    case DISPID_AMBIENT_TEXTALIGN: value.vt = VT_I2; value.iVal = 0; break;
    case DISPID_AMBIENT_DISPLAYNAME:
      value.vt = VT_BSTR;
      value.bstrVal = SysAllocString(name_.c_str());
      break;
    case DISPID_AMBIENT_SCALEUNITS:
      value.vt = VT_BSTR;
      value.bstrVal = SysAllocString(L"Pixel");
      break;
    case DISPID_AMBIENT_FONT: {
      IFontDisp* font = nullptr;
      HRESULT hr = create_font(container_->ambient_font(), &font);
      if (FAILED(hr)) return hr;
      value.vt = VT_DISPATCH;
      value.pdispVal = font;
      break;
    }
    default: return DISP_E_MEMBERNOTFOUND;
  }
  if (result) *result = value;
  else VariantClear(&value);
  return S_OK;
}

HRESULT ControlSite::OnChanged(DISPID id) {
  container_->log(L"changed " + name_ + L"." + member_name(dispatch_info_.Get(), id) + L" dispid " +
                  std::to_wstring(id));
  return S_OK;
}

}  // namespace qs::container
