#include "container/form_property_bag.h"

#include <olectl.h>
#include <wrl/client.h>

#include <cstring>

namespace qs::container {

using Microsoft::WRL::ComPtr;

namespace {

HRESULT save_object(IUnknown* object, FormValue* out) {
  CLSID clsid;
  ComPtr<IStream> stream;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (FAILED(hr)) return hr;
  ComPtr<IPersistStream> ps;
  ComPtr<IPersistStreamInit> psi;
  if (SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&ps)))) {
    if (FAILED(hr = ps->GetClassID(&clsid)) || FAILED(hr = ps->Save(stream.Get(), TRUE))) return hr;
  } else if (SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&psi)))) {
    if (FAILED(hr = psi->GetClassID(&clsid)) || FAILED(hr = psi->Save(stream.Get(), TRUE))) return hr;
  } else {
    return E_NOINTERFACE;
  }
  HGLOBAL memory;
  if (FAILED(hr = GetHGlobalFromStream(stream.Get(), &memory))) return hr;
  STATSTG stat{};
  if (FAILED(hr = stream->Stat(&stat, STATFLAG_NONAME))) return hr;
  auto* data = static_cast<const uint8_t*>(GlobalLock(memory));
  out->bytes.assign(data, data + stat.cbSize.LowPart);
  GlobalUnlock(memory);
  wchar_t text[40];
  StringFromGUID2(clsid, text, 40);
  out->kind = FormValue::Kind::Object;
  out->text = text;
  return S_OK;
}

HRESULT load_object(const FormValue& value, VARIANT* out) {
  CLSID clsid;
  HRESULT hr = CLSIDFromString(value.text.c_str(), &clsid);
  if (FAILED(hr)) return hr;
  ComPtr<IUnknown> object;
  if (FAILED(hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)))) return hr;
  ComPtr<IStream> stream;
  if (FAILED(hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return hr;
  ULONG written = 0;
  if (!value.bytes.empty() &&
      FAILED(hr = stream->Write(value.bytes.data(), static_cast<ULONG>(value.bytes.size()), &written)))
    return hr;
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
  ComPtr<IPersistStream> ps;
  ComPtr<IPersistStreamInit> psi;
  if (SUCCEEDED(object.As(&ps))) hr = ps->Load(stream.Get());
  else if (SUCCEEDED(object.As(&psi))) hr = psi->Load(stream.Get());
  else hr = E_NOINTERFACE;
  if (FAILED(hr)) return hr;
  ComPtr<IDispatch> dispatch;
  if (SUCCEEDED(object.As(&dispatch))) {
    out->vt = VT_DISPATCH;
    out->pdispVal = dispatch.Detach();
  } else {
    out->vt = VT_UNKNOWN;
    out->punkVal = object.Detach();
  }
  return S_OK;
}

// The bytes written to a memory stream.
std::vector<uint8_t> stream_bytes(IStream* stream) {
  std::vector<uint8_t> out;
  HGLOBAL memory = nullptr;
  STATSTG stat{};
  if (FAILED(GetHGlobalFromStream(stream, &memory)) || FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
    return out;
  auto* data = static_cast<const uint8_t*>(GlobalLock(memory));
  if (!data) return out;
  out.assign(data, data + stat.cbSize.LowPart);
  GlobalUnlock(memory);
  return out;
}

// A picture object as its type and picture file: what it saves as, else its
// persisted stream without the stream's 8-byte header. S_FALSE for a
// picture this store does not keep (a metafile), which is then kept as an
// object.
HRESULT save_picture(IPicture* picture, FormValue* out) {
  SHORT type = PICTYPE_UNINITIALIZED;
  HRESULT hr = picture->get_Type(&type);
  if (FAILED(hr)) return hr;
  if (type == PICTYPE_NONE || type == PICTYPE_UNINITIALIZED) {
    out->kind = FormValue::Kind::Picture;
    out->integer = 0;
    return S_OK;
  }
  if (type != PICTYPE_BITMAP && type != PICTYPE_ICON) return S_FALSE;
  ComPtr<IStream> stream;
  if (FAILED(hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return hr;
  LONG size = 0;
  std::vector<uint8_t> file;
  if (SUCCEEDED(picture->SaveAsFile(stream.Get(), TRUE, &size))) file = stream_bytes(stream.Get());
  if (file.empty()) {
    ComPtr<IPersistStream> persist;
    ComPtr<IStream> saved;
    if (SUCCEEDED(picture->QueryInterface(IID_PPV_ARGS(&persist))) &&
        SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &saved)) &&
        SUCCEEDED(persist->Save(saved.Get(), FALSE))) {
      std::vector<uint8_t> bytes = stream_bytes(saved.Get());
      if (bytes.size() > 8) file.assign(bytes.begin() + 8, bytes.end());
    }
  }
  if (file.empty()) return E_FAIL;
  out->kind = FormValue::Kind::Picture;
  out->integer = type;
  out->bytes = std::move(file);
  return S_OK;
}

// A picture object from a stored picture: the empty picture, or the
// picture its file loads as.
HRESULT load_picture(const FormValue& value, VARIANT* out) {
  IPictureDisp* picture = nullptr;
  HRESULT hr;
  if (value.integer == 0) {
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_NONE;
    hr = OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(&picture));
  } else {
    ComPtr<IStream> stream;
    if (FAILED(hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return hr;
    ULONG written = 0;
    if (FAILED(hr = stream->Write(value.bytes.data(), static_cast<ULONG>(value.bytes.size()), &written)))
      return hr;
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    hr = OleLoadPicture(stream.Get(), static_cast<LONG>(value.bytes.size()), FALSE, IID_IPictureDisp,
                        reinterpret_cast<void**>(&picture));
  }
  if (FAILED(hr)) return hr;
  if (!picture) return E_FAIL;
  out->vt = VT_DISPATCH;
  out->pdispVal = picture;
  return S_OK;
}

}  // namespace

HRESULT create_font(const FontDesc& desc, IFontDisp** out) {
  FONTDESC fd{};
  fd.cbSizeofstruct = sizeof fd;
  std::wstring name = desc.name;
  fd.lpstrName = name.data();
  fd.cySize.int64 = desc.size_cy;
  fd.sWeight = desc.weight;
  fd.sCharset = desc.charset;
  fd.fItalic = desc.italic;
  fd.fUnderline = desc.underline;
  fd.fStrikethrough = desc.strikethrough;
  return OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(out));
}

HRESULT describe_font(IUnknown* object, FontDesc* out) {
  ComPtr<IFont> font;
  HRESULT hr = object->QueryInterface(IID_PPV_ARGS(&font));
  if (FAILED(hr)) return hr;
  BSTR name = nullptr;
  CY size{};
  SHORT weight = 0, charset = 0;
  BOOL italic = FALSE, underline = FALSE, strike = FALSE;
  if (FAILED(hr = font->get_Name(&name))) return hr;
  out->name.assign(name, SysStringLen(name));
  SysFreeString(name);
  font->get_Size(&size);
  font->get_Weight(&weight);
  font->get_Charset(&charset);
  font->get_Italic(&italic);
  font->get_Underline(&underline);
  font->get_Strikethrough(&strike);
  out->size_cy = size.int64;
  out->weight = weight;
  out->charset = charset;
  out->italic = italic != FALSE;
  out->underline = underline != FALSE;
  out->strikethrough = strike != FALSE;
  return S_OK;
}

HRESULT value_to_variant(const FormValue& v, VARIANT* out) {
  VariantInit(out);
  using K = FormValue::Kind;
  switch (v.kind) {
    case K::Empty: return S_OK;
    case K::Null: out->vt = VT_NULL; return S_OK;
    case K::Integer: out->vt = VT_I2; out->iVal = static_cast<SHORT>(v.integer); return S_OK;
    case K::Long: out->vt = VT_I4; out->lVal = static_cast<LONG>(v.integer); return S_OK;
    case K::Byte: out->vt = VT_UI1; out->bVal = static_cast<BYTE>(v.integer); return S_OK;
    case K::Single: out->vt = VT_R4; out->fltVal = static_cast<float>(v.real); return S_OK;
    case K::Double: out->vt = VT_R8; out->dblVal = v.real; return S_OK;
    case K::Date: out->vt = VT_DATE; out->date = v.real; return S_OK;
    case K::Currency: out->vt = VT_CY; out->cyVal.int64 = v.integer; return S_OK;
    case K::Boolean: out->vt = VT_BOOL; out->boolVal = v.boolean ? VARIANT_TRUE : VARIANT_FALSE; return S_OK;
    case K::String:
      out->bstrVal = SysAllocStringLen(v.text.data(), static_cast<UINT>(v.text.size()));
      if (!out->bstrVal) return E_OUTOFMEMORY;
      out->vt = VT_BSTR;
      return S_OK;
    case K::Bytes: {
      SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(v.bytes.size()));
      if (!array) return E_OUTOFMEMORY;
      if (!v.bytes.empty()) {
        void* data = nullptr;
        SafeArrayAccessData(array, &data);
        std::memcpy(data, v.bytes.data(), v.bytes.size());
        SafeArrayUnaccessData(array);
      }
      out->vt = VT_ARRAY | VT_UI1;
      out->parray = array;
      return S_OK;
    }
    case K::Font: {
      IFontDisp* font = nullptr;
      HRESULT hr = create_font(v.font, &font);
      if (FAILED(hr)) return hr;
      out->vt = VT_DISPATCH;
      out->pdispVal = font;
      return S_OK;
    }
    case K::Object: return load_object(v, out);
    case K::Picture: return load_picture(v, out);
  }
  return E_INVALIDARG;
}

HRESULT variant_to_value(const VARIANT& in, FormValue* out) {
  *out = FormValue{};
  using K = FormValue::Kind;
  switch (in.vt) {
    case VT_EMPTY: return S_OK;
    case VT_NULL: out->kind = K::Null; return S_OK;
    case VT_I2: out->kind = K::Integer; out->integer = in.iVal; return S_OK;
    case VT_I4: out->kind = K::Long; out->integer = in.lVal; return S_OK;
    case VT_INT: out->kind = K::Long; out->integer = in.intVal; return S_OK;
    case VT_UI1: out->kind = K::Byte; out->integer = in.bVal; return S_OK;
    case VT_R4: out->kind = K::Single; out->real = in.fltVal; return S_OK;
    case VT_R8: out->kind = K::Double; out->real = in.dblVal; return S_OK;
    case VT_DATE: out->kind = K::Date; out->real = in.date; return S_OK;
    case VT_CY: out->kind = K::Currency; out->integer = in.cyVal.int64; return S_OK;
    case VT_BOOL: out->kind = K::Boolean; out->boolean = in.boolVal != VARIANT_FALSE; return S_OK;
    case VT_BSTR:
      out->kind = K::String;
      if (in.bstrVal) out->text.assign(in.bstrVal, SysStringLen(in.bstrVal));
      return S_OK;
    case VT_ARRAY | VT_UI1: {
      out->kind = K::Bytes;
      LONG lo = 0, hi = -1;
      if (SafeArrayGetDim(in.parray) != 1) return E_INVALIDARG;
      SafeArrayGetLBound(in.parray, 1, &lo);
      SafeArrayGetUBound(in.parray, 1, &hi);
      if (hi >= lo) {
        void* data = nullptr;
        SafeArrayAccessData(in.parray, &data);
        auto* bytes = static_cast<const uint8_t*>(data);
        out->bytes.assign(bytes, bytes + (hi - lo + 1));
        SafeArrayUnaccessData(in.parray);
      }
      return S_OK;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
      IUnknown* object = in.vt == VT_DISPATCH ? in.pdispVal : in.punkVal;
      if (!object) { out->kind = K::Empty; return S_OK; }
      if (SUCCEEDED(describe_font(object, &out->font))) {
        out->kind = K::Font;
        return S_OK;
      }
      ComPtr<IPicture> picture;
      if (SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&picture)))) {
        const HRESULT hr = save_picture(picture.Get(), out);
        if (hr != S_FALSE) return hr;
      }
      return save_object(object, out);
    }
    default: {
      // Other scalar kinds are kept in their text form.
      VARIANT text;
      VariantInit(&text);
      HRESULT hr = VariantChangeType(&text, const_cast<VARIANT*>(&in), 0, VT_BSTR);
      if (FAILED(hr)) return hr;
      out->kind = K::String;
      out->text.assign(text.bstrVal, SysStringLen(text.bstrVal));
      VariantClear(&text);
      return S_OK;
    }
  }
}

HRESULT FormPropertyBag::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPropertyBag) {
    *out = static_cast<IPropertyBag*>(this);
  } else if (riid == IID_IErrorLog) {
    *out = static_cast<IErrorLog*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG FormPropertyBag::Release() {
  ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT FormPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  for (const FormProperty& p : properties_) {
    if (p.key != name) continue;
    VARTYPE wanted = value->vt;
    VARIANT made;
    HRESULT hr = value_to_variant(p.value, &made);
    if (FAILED(hr)) return hr;
    if (wanted == VT_EMPTY || wanted == made.vt ||
        (wanted == VT_UNKNOWN && made.vt == VT_DISPATCH)) {
      *value = made;
      return S_OK;
    }
    // The caller asked for a type of its own: convert to it.
    VariantInit(value);
    hr = VariantChangeType(value, &made, 0, wanted);
    VariantClear(&made);
    return hr;
  }
  return E_INVALIDARG;
}

HRESULT FormPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  if (!name || !value) return E_POINTER;
  const VARIANT* actual = value;
  while (actual->vt == (VT_BYREF | VT_VARIANT)) actual = actual->pvarVal;
  VARIANT copy;
  VariantInit(&copy);
  if (actual->vt & VT_BYREF) {
    HRESULT hr = VariantCopyInd(&copy, const_cast<VARIANT*>(actual));
    if (FAILED(hr)) return hr;
    actual = &copy;
  }
  FormValue stored;
  HRESULT hr = variant_to_value(*actual, &stored);
  VariantClear(&copy);
  if (FAILED(hr)) return hr;
  for (FormProperty& p : properties_) {
    if (p.key == name) {
      p.value = std::move(stored);
      return S_OK;
    }
  }
  properties_.push_back({name, std::move(stored)});
  return S_OK;
}

}  // namespace qs::container
