// The client site of one hosted control: in-place activation in the
// container's window, ambient properties, change and event logging.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <atomic>
#include <string>
#include <vector>

#include "container/form_file.h"

namespace qs::container {

class Container;
class EventSink;

class ControlSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IOleControlSite,
                          public IDispatch,
                          public IPropertyNotifySink {
 public:
  ControlSite(Container* container, std::wstring prog_id, std::wstring name, RECT rect);

  // Creates the control by ProgID and initialises it fresh (properties
  // empty) or from stored properties, then activates it in place.
  // Throws std::runtime_error naming the step that failed.
  void create(const std::vector<FormProperty>* properties);
  // Asks the control to save itself into `out`: through its property bag,
  // or its stream under the "@Stream" key when it has no bag interface or
  // `as_stream` is set.
  HRESULT save(std::vector<FormProperty>& out, bool as_stream = false);
  // Moves and sizes the active control (SetObjectRects and SetExtent).
  void move(RECT rect);
  // Deactivates, closes and releases the control.
  void close();
  // Tells the control that an ambient property changed.
  void ambient_changed(DISPID id);

  const std::wstring& name() const { return name_; }
  const std::wstring& prog_id() const { return prog_id_; }
  const RECT& rect() const { return rect_; }
  // The control's window while it is active in place, else null.
  HWND control_window() const;
  // The control's default dispatch interface.
  IDispatch* dispatch() const { return dispatch_.Get(); }
  IOleObject* object() const { return object_.Get(); }
  // Every ambient property dispid the control asked this site for, in order.
  const std::vector<DISPID>& ambient_reads() const { return ambient_reads_; }

  // Called by the event sink.
  void on_event(const std::wstring& event_name);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override;
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override;
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the site and the frame)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return S_OK; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             LPRECT pos, LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO info) override;
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override;

  // IOleInPlaceUIWindow / IOleInPlaceFrame: no menus, toolbars or borders.
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IOleControlSite
  HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** out) override;
  HRESULT STDMETHODCALLTYPE TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

  // IDispatch: the ambient properties.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override;

  // IPropertyNotifySink
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override;
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

 private:
  ~ControlSite();
  void connect_sinks();
  void disconnect_sinks();

  Container* container_;
  std::wstring prog_id_;
  std::wstring name_;
  RECT rect_;
  bool in_place_ = false;
  Microsoft::WRL::ComPtr<IOleObject> object_;
  Microsoft::WRL::ComPtr<IOleInPlaceObject> in_place_object_;
  Microsoft::WRL::ComPtr<IDispatch> dispatch_;
  Microsoft::WRL::ComPtr<ITypeInfo> dispatch_info_;
  EventSink* event_sink_ = nullptr;
  Microsoft::WRL::ComPtr<IConnectionPoint> event_point_;
  DWORD event_cookie_ = 0;
  Microsoft::WRL::ComPtr<IConnectionPoint> notify_point_;
  DWORD notify_cookie_ = 0;
  std::vector<DISPID> ambient_reads_;
  std::atomic<ULONG> refs_{1};
};

}  // namespace qs::container
