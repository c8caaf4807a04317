#include "property_page_object.h"

#include <new>
#include <string>
#include <vector>

#include "com_util.h"
#include "error_info.h"
#include "server_module.h"
#include "variant_convert.h"

namespace qs::activex {
namespace {

// The runtime error a failed dispatch call stands for: the error number of
// an exception raised by the runtime's kind of object, 438 for a name the
// object does not know; other failures keep their HRESULT.
[[noreturn]] void throw_dispatch_failure(HRESULT hr, EXCEPINFO& info) {
  if (hr == DISP_E_EXCEPTION) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    const HRESULT scode = info.scode != 0 ? info.scode : HRESULT(0x800A0000u | info.wCode);
    std::u16string description = from_bstr(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if ((uint32_t(scode) & 0xFFFF0000u) == 0x800A0000u) {
      const int32_t number = int32_t(uint32_t(scode) & 0xFFFFu);
      if (description.empty()) throw RuntimeError(number);
      throw RuntimeError(number, description);
    }
    throw ComFailure{scode};
  }
  if (hr == DISP_E_UNKNOWNNAME || hr == DISP_E_MEMBERNOTFOUND) throw RuntimeError(438);
  throw ComFailure{hr};
}

// A selected object, reached through its IDispatch by property name.
class DispatchObject final : public PageObject {
 public:
  explicit DispatchObject(ComPtr<IDispatch> object) : object_(std::move(object)) {}

  Variant get_property(std::u16string_view name) override {
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    const HRESULT hr = object_->Invoke(id_of(name), IID_NULL, LOCALE_USER_DEFAULT,
                                       DISPATCH_PROPERTYGET, &none, &result, &info, nullptr);
    if (FAILED(hr)) throw_dispatch_failure(hr, info);
    Variant value;
    try {
      value = from_variant(result);
    } catch (...) {
      VariantClear(&result);
      throw;
    }
    VariantClear(&result);
    return value;
  }

  void set_property(std::u16string_view name, const Variant& value) override {
    VARIANT arg;
    VariantInit(&arg);
    to_variant(value, &arg);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    EXCEPINFO info{};
    const HRESULT hr = object_->Invoke(id_of(name), IID_NULL, LOCALE_USER_DEFAULT,
                                       DISPATCH_PROPERTYPUT, &params, nullptr, &info, nullptr);
    VariantClear(&arg);
    if (FAILED(hr)) throw_dispatch_failure(hr, info);
  }

 private:
  DISPID id_of(std::u16string_view name) {
    std::u16string text(name);
    LPOLESTR names[] = {const_cast<LPOLESTR>(reinterpret_cast<const wchar_t*>(text.c_str()))};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
      EXCEPINFO none{};
      throw_dispatch_failure(hr, none);
    }
    return id;
  }

  ComPtr<IDispatch> object_;
};

class PageObjectImpl final : public IPropertyPage, public PageSite {
 public:
  PageObjectImpl(const PageFacts& facts, PageMaker make)
      : facts_(facts), make_(std::move(make)) {
    add_module_ref();
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPropertyPage) {
      *out = static_cast<IPropertyPage*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return ULONG(n);
  }

  // IPropertyPage
  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override {
    return entry_guard([&] {
      site_ = ComPtr<IPropertyPageSite>(site);
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL) override {
    return entry_guard([&] {
      if (!rect) return E_POINTER;
      if (!parent || !IsWindow(parent)) return E_INVALIDARG;
      if (page_) return E_UNEXPECTED;
      std::unique_ptr<Surface> surface = win32::Win32Platform::current().create_surface();
      win32_surface_ = dynamic_cast<win32::Win32Surface*>(surface.get());
      if (!win32_surface_) return E_FAIL;
      try {
        page_ = make_(std::move(surface), *this);
      } catch (...) {
        win32_surface_ = nullptr;
        throw;
      }
      win32_surface_->attach(parent, *rect);
      show_selection();
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE Deactivate() override {
    return entry_guard([&] {
      drop_page();
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override {
    return entry_guard([&] {
      if (!info) return E_POINTER;
      if (info->cb != 0 && info->cb < sizeof(PROPPAGEINFO)) return E_INVALIDARG;
      const size_t bytes = (facts_.caption.size() + 1) * sizeof(wchar_t);
      auto* title = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
      if (!title) return E_OUTOFMEMORY;
      std::u16string caption(facts_.caption);
      memcpy(title, caption.c_str(), bytes);
      info->cb = sizeof(PROPPAGEINFO);
      info->pszTitle = title;
      info->size.cx = LONG(facts_.width_twips / win32::twips_per_pixel_x() + 0.5f);
      info->size.cy = LONG(facts_.height_twips / win32::twips_per_pixel_y() + 0.5f);
      info->pszDocString = nullptr;
      info->pszHelpFile = nullptr;
      info->dwHelpContext = 0;
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override {
    return entry_guard([&] {
      if (count > 0 && !objects) return E_POINTER;
      std::vector<DispatchObject> chosen;
      chosen.reserve(count);
      for (ULONG i = 0; i < count; ++i) {
        if (!objects[i]) return E_POINTER;
        ComPtr<IDispatch> dispatch;
        const HRESULT hr =
            objects[i]->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put()));
        if (FAILED(hr)) return E_NOINTERFACE;
        chosen.emplace_back(std::move(dispatch));
      }
      objects_ = std::move(chosen);
      if (page_) show_selection();
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE Show(UINT command) override {
    return entry_guard([&] {
      if (!page_) return E_UNEXPECTED;
      ShowWindow(win32_surface_->hwnd(), command == SW_HIDE ? SW_HIDE : SW_SHOWNA);
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override {
    return entry_guard([&] {
      if (!rect) return E_POINTER;
      if (!page_) return E_UNEXPECTED;
      win32_surface_->set_rect(*rect);
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE IsPageDirty() override { return dirty_ ? S_OK : S_FALSE; }

  HRESULT STDMETHODCALLTYPE Apply() override {
    // Nothing to write before the page was built or with nothing selected.
    if (!page_ || objects_.empty()) return S_OK;
    return guarded(std::u16string(facts_.caption), IID_IPropertyPage, [&] { page_->apply(); });
  }

  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override {
    return entry_guard([&] {
      if (!msg) return E_POINTER;
      if (!page_) return S_FALSE;
      // Tab moves between the boxes in tab order; the boxes take Enter themselves.
      HWND window = win32_surface_->hwnd();
      if (msg->hwnd != window && !IsChild(window, msg->hwnd)) return S_FALSE;
      return IsDialogMessageW(window, msg) ? S_OK : S_FALSE;
    });
  }

  // PageSite
  int selected_count() override { return int(objects_.size()); }
  PageObject& selected(int index) override {
    if (index < 0 || size_t(index) >= objects_.size()) throw RuntimeError(kErrSubscript);
    return objects_[size_t(index)];
  }
  bool changed() override { return dirty_; }
  void set_changed(bool changed) override {
    dirty_ = changed;
    if (changed && site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
  }

 private:
  ~PageObjectImpl() {
    drop_page();
    release_module_ref();
  }

  // Fills the page from the selection; a failing read leaves the boxes as
  // they are and is kept as the thread's error information.
  void show_selection() {
    if (objects_.empty()) return;
    guarded(std::u16string(facts_.caption), IID_IPropertyPage, [&] { page_->SelectionChanged(); });
  }

  // Destroys the page and its window.
  void drop_page() {
    if (win32_surface_) win32_surface_->attach(nullptr, RECT{});
    win32_surface_ = nullptr;
    page_.reset();
  }

  LONG refs_ = 1;
  PageFacts facts_;
  PageMaker make_;
  ComPtr<IPropertyPageSite> site_;
  std::vector<DispatchObject> objects_;
  std::unique_ptr<PropertyPage> page_;
  win32::Win32Surface* win32_surface_ = nullptr;
  bool dirty_ = false;
};

}  // namespace

const MemberTable& empty_members() {
  static const MemberTable table{};
  return table;
}

HRESULT create_page_object(const PageFacts& facts, PageMaker make, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  PageObjectImpl* object = nullptr;
  try {
    object = new PageObjectImpl(facts, std::move(make));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
  const HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

}  // namespace qs::activex
