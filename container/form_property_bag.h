// IPropertyBag over the typed properties of one form control.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <atomic>
#include <vector>

#include "container/form_file.h"

namespace qs::container {

// Makes a VARIANT from a stored value; fonts become font objects
// (IFontDisp), pictures picture objects (IPictureDisp, loaded from their
// file), objects are recreated from their class id and stream.
HRESULT value_to_variant(const FormValue& value, VARIANT* out);
// Makes a stored value from a VARIANT; fonts keep their attributes,
// bitmap and icon pictures their file and empty pictures their emptiness,
// other objects with IPersistStream(Init) keep their class id and stream.
HRESULT variant_to_value(const VARIANT& in, FormValue* out);
// Creates a font object (IFontDisp) with the given attributes.
HRESULT create_font(const FontDesc& desc, IFontDisp** out);
// Reads the attributes of any object that has IFont.
HRESULT describe_font(IUnknown* font, FontDesc* out);

// A property bag reading and writing a vector of form properties; errors
// the control reports while loading are ignored.
class FormPropertyBag final : public IPropertyBag, public IErrorLog {
 public:
  explicit FormPropertyBag(std::vector<FormProperty>& properties) : properties_(properties) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  // IPropertyBag
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;
  // IErrorLog
  HRESULT STDMETHODCALLTYPE AddError(LPCOLESTR, EXCEPINFO*) override { return S_OK; }

 private:
  ~FormPropertyBag() = default;
  std::vector<FormProperty>& properties_;
  std::atomic<ULONG> refs_{1};
};

}  // namespace qs::container
