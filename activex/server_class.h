// The server's side of the class list: how each class is created and which
// members its objects have. A class is creatable because its entry here says
// how; the class factory, the type-library checks and the robustness tests
// walk this table. Each file in activex/controls/ adds one entry, picked up
// by the build.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "com_control.h"
#include "member_table.h"
#include "library/class_list.h"
#include "platform/win32/win32_platform.h"

namespace qs::activex {

struct ServerClass {
  std::u16string_view name;  // the class list's name
  // Creates an object and queries it for iid.
  std::function<HRESULT(REFIID iid, void** out)> create;
  const MemberTable* members;
};

// Every class this server creates, in no particular order.
const std::vector<const ServerClass*>& server_classes();
// The entry of the class of that name, or nullptr (not creatable).
const ServerClass* find_server_class(std::u16string_view name);

// The COM object of a portable control: the dual interface `Dual`
// (generated from the type library) over a `ControlClass` on a window of
// the real platform.
template <class Dual, class ControlClass>
class ControlObject final : public Dual {
 public:
  ControlObject(const ClassInfo& info, const MemberTable& members) : Dual(info, members) {
    this->set_control(make_control(this->host()));
  }

 protected:
  std::unique_ptr<Control> make_control(Host& host) override {
    return std::make_unique<ControlClass>(win32::Win32Platform::current().create_surface(), host);
  }
};

// Creates a ControlObject for class `name` and queries it for iid.
template <class Dual, class ControlClass>
HRESULT create_control_object(std::u16string_view name, const MemberTable& members, REFIID iid,
                              void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  const ClassInfo* info = find_class(name);
  if (!info) return CLASS_E_CLASSNOTAVAILABLE;
  Dual* object = nullptr;
  try {
    object = new ControlObject<Dual, ControlClass>(*info, members);
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

// The entry of a control class.
template <class Dual, class ControlClass>
ServerClass control_class(std::u16string_view name, const MemberTable& members) {
  return {name,
          [name, &members](REFIID iid, void** out) {
            return create_control_object<Dual, ControlClass>(name, members, iid, out);
          },
          &members};
}

}  // namespace qs::activex
