#include "variant_convert.h"

#include <cmath>
#include <map>
#include <memory>

#include "com_util.h"
#include "core/runtime_error.h"
#include "platform/win32/win32_picture.h"

namespace qs::activex {

IFontDisp* create_font_object(const FontDesc& desc) {
  FONTDESC fd = {};
  fd.cbSizeofstruct = sizeof(fd);
  fd.lpstrName = const_cast<LPOLESTR>(wide(desc.name));
  fd.cySize.int64 = std::llround(desc.size * 10000.0);
  fd.sWeight = desc.weight;
  fd.sCharset = desc.charset;
  fd.fItalic = desc.italic;
  fd.fUnderline = desc.underline;
  fd.fStrikethrough = desc.strikethrough;
  IFontDisp* font = nullptr;
  if (FAILED(OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font))))
    return nullptr;
  return font;
}

FontDesc font_desc_of(IUnknown* object) {
  FontDesc desc;
  ComPtr<IFont> font;
  if (!object || FAILED(object->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()))))
    throw RuntimeError(kErrTypeMismatch);
  BSTR name = nullptr;
  if (SUCCEEDED(font->get_Name(&name))) {
    desc.name = from_bstr(name);
    SysFreeString(name);
  }
  CY size = {};
  if (SUCCEEDED(font->get_Size(&size))) desc.size = double(size.int64) / 10000.0;
  SHORT weight = 400;
  if (SUCCEEDED(font->get_Weight(&weight))) desc.weight = weight;
  BOOL flag = FALSE;
  if (SUCCEEDED(font->get_Italic(&flag))) desc.italic = flag;
  if (SUCCEEDED(font->get_Underline(&flag))) desc.underline = flag;
  if (SUCCEEDED(font->get_Strikethrough(&flag))) desc.strikethrough = flag;
  SHORT charset = 0;
  if (SUCCEEDED(font->get_Charset(&charset))) desc.charset = charset;
  return desc;
}

namespace {

// The pictures of this thread by their platform object: a picture that went
// out to a host and comes back is the same library picture. An entry whose
// picture is gone is stale (its object may be freed and its address reused)
// and is replaced; a live picture holds its object, so its address is its own.
std::map<IPicture*, std::weak_ptr<Picture>>& known_pictures() {
  thread_local std::map<IPicture*, std::weak_ptr<Picture>> known;
  return known;
}

void remember(IPicture* object, const PictureRef& picture) {
  auto& known = known_pictures();
  // Drop the entries of pictures that are gone, now and then, so the map
  // stays as small as the live pictures.
  if (known.size() >= 64) std::erase_if(known, [](const auto& e) { return e.second.expired(); });
  known[object] = picture;
}

PictureRef picture_of_object(IPicture* object) {
  auto& known = known_pictures();
  if (auto it = known.find(object); it != known.end()) {
    if (PictureRef held = it->second.lock()) return held;
  }
  PictureRef picture = win32::picture_over(object, win32::ole_picture_data(object));
  remember(object, picture);
  return picture;
}

// The platform object of a library picture, made and kept with it on first
// use: from its data, as the empty picture, or over its bare handle.
IPicture* object_of_picture(const PictureRef& picture) {
  if (IPicture* held = win32::ole_picture_of(*picture)) {
    remember(held, picture);
    return held;
  }
  PictureRef made;
  if (picture->type == PictureType::kNone) {
    made = win32::empty_ole_picture();
  } else if (!picture->data.empty()) {
    made = win32::load_ole_picture(picture->data);
  } else {
    // A bare handle: the library's picture keeps owning it.
    PICTDESC pd = {};
    pd.cbSizeofstruct = sizeof(pd);
    pd.picType = picture->type == PictureType::kIcon ? PICTYPE_ICON : PICTYPE_BITMAP;
    if (pd.picType == PICTYPE_ICON)
      pd.icon.hicon = reinterpret_cast<HICON>(picture->handle);
    else
      pd.bmp.hbitmap = reinterpret_cast<HBITMAP>(picture->handle);
    IPicture* object = nullptr;
    if (FAILED(OleCreatePictureIndirect(&pd, IID_IPicture, FALSE, reinterpret_cast<void**>(&object))) ||
        !object)
      throw RuntimeError(kErrInvalidPicture);
    picture->native = std::make_shared<win32::OlePicture>(object);
    remember(object, picture);
    return object;
  }
  picture->native = made->native;
  if (!picture->handle) {
    picture->handle = made->handle;
    picture->pixel_width = made->pixel_width;
    picture->pixel_height = made->pixel_height;
  }
  IPicture* object = win32::ole_picture_of(*picture);
  remember(object, picture);
  return object;
}

}  // namespace

PictureRef picture_from_object(IUnknown* object) {
  ComPtr<IPicture> picture;
  if (!object || FAILED(object->QueryInterface(IID_IPicture, reinterpret_cast<void**>(picture.put()))))
    throw RuntimeError(kErrTypeMismatch);
  return picture_of_object(picture.get());
}

IPictureDisp* picture_object(const PictureRef& picture) {
  if (!picture) return nullptr;
  IPictureDisp* out = nullptr;
  if (FAILED(object_of_picture(picture)->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(&out))))
    throw RuntimeError(kErrInvalidPicture);
  return out;
}

namespace {

Variant from_object(IUnknown* object) {
  if (!object) return Variant::nothing();
  ComPtr<IFont> font;
  if (SUCCEEDED(object->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()))))
    return Variant(make_font(font_desc_of(font.get())));
  ComPtr<IPicture> picture;
  if (SUCCEEDED(object->QueryInterface(IID_IPicture, reinterpret_cast<void**>(picture.put()))))
    return Variant(picture_of_object(picture.get()));
  throw RuntimeError(kErrTypeMismatch);
}

}  // namespace

Variant from_variant(const VARIANT& in) {
  const VARIANT* v = &in;
  // A reference to a variant is followed (a few levels at most); a reference
  // to nothing is a value of no known kind.
  for (int depth = 0; V_VT(v) == (VT_BYREF | VT_VARIANT); ++depth) {
    if (depth == 4 || !V_VARIANTREF(v)) throw RuntimeError(kErrTypeMismatch);
    v = V_VARIANTREF(v);
  }
  const VARTYPE vt = V_VT(v);
  const bool ref = (vt & VT_BYREF) != 0;
  if (ref && !V_BYREF(v)) throw RuntimeError(kErrTypeMismatch);
  switch (vt & ~VT_BYREF) {
    case VT_EMPTY: return Variant();
    case VT_NULL: return Variant::null();
    case VT_I2: return Variant(int16_t(ref ? *V_I2REF(v) : V_I2(v)));
    case VT_I4: return Variant(int32_t(ref ? *V_I4REF(v) : V_I4(v)));
    case VT_R4: return Variant(ref ? *V_R4REF(v) : V_R4(v));
    case VT_R8: return Variant(ref ? *V_R8REF(v) : V_R8(v));
    case VT_BSTR: return Variant(from_bstr(ref ? *V_BSTRREF(v) : V_BSTR(v)));
    case VT_BOOL: return Variant((ref ? *V_BOOLREF(v) : V_BOOL(v)) != VARIANT_FALSE);
    case VT_ERROR:
      if ((ref ? *V_ERRORREF(v) : V_ERROR(v)) == DISP_E_PARAMNOTFOUND) return Variant::missing();
      throw RuntimeError(kErrTypeMismatch);
    case VT_DISPATCH: return from_object(ref ? *V_DISPATCHREF(v) : V_DISPATCH(v));
    case VT_UNKNOWN: return from_object(ref ? *V_UNKNOWNREF(v) : V_UNKNOWN(v));
    default: {
      // Other numeric kinds (bytes, currency, dates, unsigned) arrive from
      // scripts and hosts; take them as doubles as the runtime would.
      VARIANT copy;
      VariantInit(&copy);
      if (FAILED(VariantChangeType(&copy, const_cast<VARIANT*>(v), 0, VT_R8)))
        throw RuntimeError(kErrTypeMismatch);
      return Variant(V_R8(&copy));
    }
  }
}

void to_variant(const Variant& value, VARIANT* out) {
  VariantInit(out);
  switch (value.type()) {
    case VarType::kEmpty: return;
    case VarType::kNull: V_VT(out) = VT_NULL; return;
    case VarType::kInteger: V_VT(out) = VT_I2; V_I2(out) = value.to_integer(); return;
    case VarType::kLong: V_VT(out) = VT_I4; V_I4(out) = value.to_long(); return;
    case VarType::kSingle: V_VT(out) = VT_R4; V_R4(out) = value.to_single(); return;
    case VarType::kDouble: V_VT(out) = VT_R8; V_R8(out) = value.to_double(); return;
    case VarType::kString: V_VT(out) = VT_BSTR; V_BSTR(out) = make_bstr(value.string_value()); return;
    case VarType::kBoolean:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = value.to_boolean() ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case VarType::kError:
      V_VT(out) = VT_ERROR;
      V_ERROR(out) = DISP_E_PARAMNOTFOUND;
      return;
    case VarType::kObject: {
      V_VT(out) = VT_DISPATCH;
      V_DISPATCH(out) = nullptr;
      if (FontRef font = value.to_font()) {
        V_DISPATCH(out) = create_font_object(font->desc());
        return;
      }
      if (PictureRef picture = value.to_picture()) V_DISPATCH(out) = picture_object(picture);
      return;
    }
  }
}

}  // namespace qs::activex
