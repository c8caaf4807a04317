#include "addremove_object.h"

#include "variant_convert.h"

namespace qs::activex {

// Tells the AddRemove object when a client changes the font object it got
// from the Font property (ctl.Font.Size = 12).
class FontSink final : public SingleInterface<IPropertyNotifySink> {
 public:
  explicit FontSink(AddRemoveObject* owner) : owner_(owner) {}
  void detach() { owner_ = nullptr; }

  HRESULT STDMETHODCALLTYPE OnChanged(DISPID) override {
    if (owner_) owner_->font_object_changed();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

 private:
  AddRemoveObject* owner_;
};

AddRemoveObject::AddRemoveObject() : ComControl(*find_class(u"AddRemove")) {
  auto control = std::make_unique<AddRemove>(
      win32::Win32Platform::current().create_surface(), host());
  ctl_ = control.get();
  set_control(std::move(control));
}

AddRemoveObject::~AddRemoveObject() { drop_font_object(); }

std::u16string_view AddRemoveObject::property_for_store_key(std::u16string_view key) {
  // The left item data is stored under a key of its own.
  if (key == u"ListListItemData") return u"LeftListItemData";
  return key;
}

void AddRemoveObject::drop_font_object() {
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
}

IFontDisp* AddRemoveObject::font_object(const FontRef& font) {
  if (font != font_ref_ || !font_object_ ||
      font_desc_of(font_object_.get()) != font->desc()) {
    drop_font_object();
    IFontDisp* created = create_font_object(font->desc());
    if (!created) throw ComFailure{E_OUTOFMEMORY};
    font_object_ = ComPtr<IFontDisp>(created);
    created->Release();
    font_ref_ = font;
    font_sink_ = new FontSink(this);
    ComPtr<IConnectionPointContainer> cpc =
        font_object_.as<IConnectionPointContainer>(IID_IConnectionPointContainer);
    ComPtr<IConnectionPoint> cp;
    if (cpc && SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, cp.put())))
      cp->Advise(font_sink_, &font_cookie_);
  }
  return font_object_.get();
}

void AddRemoveObject::font_object_changed() {
  if (!font_object_ || !font_ref_) return;
  FontRef font = font_ref_;
  font->desc() = font_desc_of(font_object_.get());
  call([&] { ctl_->set_Font(font); });
  // set_Font may have taken a copy; keep the object as the face of whatever
  // the control holds now.
  font_ref_ = ctl_->Font();
}

HRESULT AddRemoveObject::Load_Lists() { return call([&] { ctl_->Load_Lists(); }); }
HRESULT AddRemoveObject::Save_Lists() { return call([&] { ctl_->Save_Lists(); }); }
HRESULT AddRemoveObject::ShowAboutBox() { return call([&] { ctl_->ShowAboutBox(); }); }
HRESULT AddRemoveObject::Refresh() { return call([&] { ctl_->Refresh(); }); }

HRESULT AddRemoveObject::get_BackColor(OLE_COLOR* value) {
  if (!value) return E_POINTER;
  return call([&] { *value = ctl_->BackColor(); });
}
HRESULT AddRemoveObject::put_BackColor(OLE_COLOR value) {
  return call([&] { ctl_->set_BackColor(value); });
}
HRESULT AddRemoveObject::get_ForeColor(OLE_COLOR* value) {
  if (!value) return E_POINTER;
  return call([&] { *value = ctl_->ForeColor(); });
}
HRESULT AddRemoveObject::put_ForeColor(OLE_COLOR value) {
  return call([&] { ctl_->set_ForeColor(value); });
}
HRESULT AddRemoveObject::get_Enabled(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  return call([&] { *value = ctl_->Enabled() ? VARIANT_TRUE : VARIANT_FALSE; });
}
HRESULT AddRemoveObject::put_Enabled(VARIANT_BOOL value) {
  return call([&] { ctl_->set_Enabled(value != VARIANT_FALSE); });
}

HRESULT AddRemoveObject::get_Font(IFontDisp** value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return call([&] {
    FontRef font = ctl_->Font();
    if (!font) return;
    *value = font_object(font);
    (*value)->AddRef();
  });
}

HRESULT AddRemoveObject::putref_Font(IFontDisp* value) {
  return call([&] {
    if (!value) throw RuntimeError(kErrObjectRequired);
    ctl_->set_Font(make_font(font_desc_of(value)));
  });
}

HRESULT AddRemoveObject::get_BackStyle(short* value) {
  if (!value) return E_POINTER;
  return call([&] { *value = ctl_->BackStyle(); });
}
HRESULT AddRemoveObject::put_BackStyle(short value) {
  return call([&] { ctl_->set_BackStyle(value); });
}
HRESULT AddRemoveObject::get_BorderStyle(short* value) {
  if (!value) return E_POINTER;
  return call([&] { *value = ctl_->BorderStyle(); });
}
HRESULT AddRemoveObject::put_BorderStyle(short value) {
  return call([&] { ctl_->set_BorderStyle(value); });
}

HRESULT AddRemoveObject::get_Orientation(::qrOrientation* value) {
  if (!value) return E_POINTER;
  return call([&] { *value = static_cast<::qrOrientation>(ctl_->Orientation()); });
}
HRESULT AddRemoveObject::put_Orientation(::qrOrientation value) {
  return call([&] { ctl_->set_Orientation(int32_t(value)); });
}

HRESULT AddRemoveObject::get_Llist(short index, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return call([&] { *value = make_bstr(ctl_->Llist(index)); });
}
HRESULT AddRemoveObject::put_Llist(short index, BSTR value) {
  return call([&] { ctl_->set_Llist(index, from_bstr(value)); });
}
HRESULT AddRemoveObject::get_LItemData(short index, LONG* value) {
  if (!value) return E_POINTER;
  return call([&] { *value = ctl_->LItemData(index); });
}
HRESULT AddRemoveObject::put_LItemData(short index, LONG value) {
  return call([&] { ctl_->set_LItemData(index, value); });
}
HRESULT AddRemoveObject::get_RList(short index, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return call([&] { *value = make_bstr(ctl_->RList(index)); });
}
HRESULT AddRemoveObject::put_RList(short index, BSTR value) {
  return call([&] { ctl_->set_RList(index, from_bstr(value)); });
}
HRESULT AddRemoveObject::get_RItemData(short index, LONG* value) {
  if (!value) return E_POINTER;
  return call([&] { *value = ctl_->RItemData(index); });
}
HRESULT AddRemoveObject::put_RItemData(short index, LONG value) {
  return call([&] { ctl_->set_RItemData(index, value); });
}

HRESULT AddRemoveObject::LAddItem(BSTR item, VARIANT index) {
  return call([&] { ctl_->LAddItem(from_bstr(item), from_variant(index)); });
}
HRESULT AddRemoveObject::LRemoveItem(short index) {
  return call([&] { ctl_->LRemoveItem(index); });
}
HRESULT AddRemoveObject::RAddItem(BSTR item, VARIANT index) {
  return call([&] { ctl_->RAddItem(from_bstr(item), from_variant(index)); });
}
HRESULT AddRemoveObject::RRemoveItem(short index) {
  return call([&] { ctl_->RRemoveItem(index); });
}

HRESULT AddRemoveObject::get_LTitle(BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return call([&] { *value = make_bstr(ctl_->LTitle()); });
}
HRESULT AddRemoveObject::put_LTitle(BSTR value) {
  return call([&] { ctl_->set_LTitle(from_bstr(value)); });
}
HRESULT AddRemoveObject::get_RTitle(BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return call([&] { *value = make_bstr(ctl_->RTitle()); });
}
HRESULT AddRemoveObject::put_RTitle(BSTR value) {
  return call([&] { ctl_->set_RTitle(from_bstr(value)); });
}
HRESULT AddRemoveObject::get_ShowTitles(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  return call([&] { *value = ctl_->ShowTitles() ? VARIANT_TRUE : VARIANT_FALSE; });
}
HRESULT AddRemoveObject::put_ShowTitles(VARIANT_BOOL value) {
  return call([&] { ctl_->set_ShowTitles(value != VARIANT_FALSE); });
}

HRESULT AddRemoveObject::get_LeftList(VARIANT* value) {
  if (!value) return E_POINTER;
  return call([&] { to_variant(ctl_->LeftList(), value); });
}
HRESULT AddRemoveObject::put_LeftList(VARIANT value) {
  return call([&] { ctl_->set_LeftList(from_variant(value)); });
}
HRESULT AddRemoveObject::get_RightList(VARIANT* value) {
  if (!value) return E_POINTER;
  return call([&] { to_variant(ctl_->RightList(), value); });
}
HRESULT AddRemoveObject::put_RightList(VARIANT value) {
  return call([&] { ctl_->set_RightList(from_variant(value)); });
}
HRESULT AddRemoveObject::get_LeftListItemData(VARIANT* value) {
  if (!value) return E_POINTER;
  return call([&] { to_variant(ctl_->LeftListItemData(), value); });
}
HRESULT AddRemoveObject::put_LeftListItemData(VARIANT value) {
  return call([&] { ctl_->set_LeftListItemData(from_variant(value)); });
}
HRESULT AddRemoveObject::get_RightListItemData(VARIANT* value) {
  if (!value) return E_POINTER;
  return call([&] { to_variant(ctl_->RightListItemData(), value); });
}
HRESULT AddRemoveObject::put_RightListItemData(VARIANT value) {
  return call([&] { ctl_->set_RightListItemData(from_variant(value)); });
}

HRESULT create_addremove(REFIID iid, void** out) {
  AddRemoveObject* object = nullptr;
  try {
    object = new AddRemoveObject();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
  object->AddRef();
  HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

}  // namespace qs::activex
