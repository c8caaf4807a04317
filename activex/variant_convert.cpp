#include "variant_convert.h"

#include <cmath>

#include "com_util.h"
#include "core/runtime_error.h"

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

Variant from_object(IUnknown* object) {
  if (!object) return Variant::nothing();
  ComPtr<IFont> font;
  if (SUCCEEDED(object->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()))))
    return Variant(make_font(font_desc_of(font.get())));
  ComPtr<IPicture> picture;
  if (SUCCEEDED(object->QueryInterface(IID_IPicture, reinterpret_cast<void**>(picture.put())))) {
    auto p = std::make_shared<Picture>();
    SHORT type = PICTYPE_NONE;
    picture->get_Type(&type);
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    p->type = type == PICTYPE_BITMAP ? PictureType::kBitmap
              : type == PICTYPE_ICON ? PictureType::kIcon
                                     : PictureType::kNone;
    p->handle = intptr_t(handle);
    p->width = w;
    p->height = h;
    return Variant(PictureRef(p));
  }
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
      if (PictureRef picture = value.to_picture(); picture && picture->type != PictureType::kNone) {
        PICTDESC pd = {};
        pd.cbSizeofstruct = sizeof(pd);
        pd.picType = picture->type == PictureType::kIcon ? PICTYPE_ICON : PICTYPE_BITMAP;
        if (pd.picType == PICTYPE_ICON)
          pd.icon.hicon = reinterpret_cast<HICON>(picture->handle);
        else
          pd.bmp.hbitmap = reinterpret_cast<HBITMAP>(picture->handle);
        // The picture object does not own the handle: the library's picture does.
        OleCreatePictureIndirect(&pd, IID_IPictureDisp, FALSE,
                                 reinterpret_cast<void**>(&V_DISPATCH(out)));
      }
      return;
    }
  }
}

}  // namespace qs::activex
