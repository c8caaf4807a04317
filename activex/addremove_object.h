// The COM object of AddRemove: the shared control object plus the
// control's dual interface _AddRemove, each member passed to the portable
// control.
#pragma once

#include "QuorralSet_h.h"
#include "com_control.h"
#include "controls/addremove/addremove.h"

namespace qs::activex {

class FontSink;

class AddRemoveObject final : public ComControl, public _AddRemove {
 public:
  AddRemoveObject();
  ~AddRemoveObject() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return ComControl::QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ComControl::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return ComControl::Release(); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return dispatch_type_info_count(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    return dispatch_type_info(index, out);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    return dispatch_ids_of_names(iid, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* arg_err) override {
    return dispatch_invoke(id, iid, flags, params, result, excep, arg_err);
  }

  HRESULT STDMETHODCALLTYPE Load_Lists() override;
  HRESULT STDMETHODCALLTYPE Save_Lists() override;
  HRESULT STDMETHODCALLTYPE ShowAboutBox() override;
  HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR value) override;
  HRESULT STDMETHODCALLTYPE get_ForeColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE put_ForeColor(OLE_COLOR value) override;
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** value) override;
  HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp* value) override;
  HRESULT STDMETHODCALLTYPE get_BackStyle(short* value) override;
  HRESULT STDMETHODCALLTYPE put_BackStyle(short value) override;
  HRESULT STDMETHODCALLTYPE get_BorderStyle(short* value) override;
  HRESULT STDMETHODCALLTYPE put_BorderStyle(short value) override;
  HRESULT STDMETHODCALLTYPE Refresh() override;
  HRESULT STDMETHODCALLTYPE get_Orientation(::qrOrientation* value) override;
  HRESULT STDMETHODCALLTYPE put_Orientation(::qrOrientation value) override;
  HRESULT STDMETHODCALLTYPE get_Llist(short index, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_Llist(short index, BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_LItemData(short index, LONG* value) override;
  HRESULT STDMETHODCALLTYPE put_LItemData(short index, LONG value) override;
  HRESULT STDMETHODCALLTYPE get_RList(short index, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_RList(short index, BSTR value) override;
  HRESULT STDMETHODCALLTYPE LAddItem(BSTR item, VARIANT index) override;
  HRESULT STDMETHODCALLTYPE LRemoveItem(short index) override;
  HRESULT STDMETHODCALLTYPE RAddItem(BSTR item, VARIANT index) override;
  HRESULT STDMETHODCALLTYPE RRemoveItem(short index) override;
  HRESULT STDMETHODCALLTYPE get_RItemData(short index, LONG* value) override;
  HRESULT STDMETHODCALLTYPE put_RItemData(short index, LONG value) override;
  HRESULT STDMETHODCALLTYPE get_LTitle(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_LTitle(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_RTitle(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_RTitle(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_ShowTitles(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_ShowTitles(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_LeftList(VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE put_LeftList(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_RightList(VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE put_RightList(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_LeftListItemData(VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE put_LeftListItemData(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_RightListItemData(VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE put_RightListItemData(VARIANT value) override;

  // A change made through the font object handed out by get_Font.
  void font_object_changed();

 protected:
  IDispatch* dispatch() override { return static_cast<_AddRemove*>(this); }
  std::u16string_view property_for_store_key(std::u16string_view key) override;

 private:
  // Hands out (and remembers) the font object that stands for font.
  IFontDisp* font_object(const FontRef& font);
  void drop_font_object();

  AddRemove* ctl_ = nullptr;
  FontRef font_ref_;                   // the control's font that font_object_ shows
  ComPtr<IFontDisp> font_object_;
  FontSink* font_sink_ = nullptr;
  DWORD font_cookie_ = 0;
};

// Creates an AddRemove object and queries it for iid.
HRESULT create_addremove(REFIID iid, void** out);

}  // namespace qs::activex
