// The server against a hostile host: malformed calls, references to
// nothing, values of every kind from a property bag, truncated and mutated
// streams and storages. Nothing may crash or hang, a refused load leaves the
// control as it was, whatever loads saves again, and nothing is left behind.
// The walk covers every control class of the type library, so a new control
// is covered without new code here.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "core/property_stream_codec.h"
#include "core/variant.h"
#include "tests/activex/addremove_client.h"

namespace qs::test {
namespace {

// A value a hostile caller or store hands over. Values are built fresh for
// each use; none owns anything the test must free except a BSTR.
struct Hostile {
  const char* name;
  std::function<void(VARIANT&)> make;
};

VARIANT* null_variant_ref() { return nullptr; }

const std::vector<Hostile>& hostile_values() {
  static VARIANT nested_null_ref = [] {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&v) = null_variant_ref();
    return v;
  }();
  static const std::vector<Hostile> values = {
      {"empty", [](VARIANT& v) { V_VT(&v) = VT_EMPTY; }},
      {"null", [](VARIANT& v) { V_VT(&v) = VT_NULL; }},
      {"integer -1", [](VARIANT& v) { V_VT(&v) = VT_I2; V_I2(&v) = -1; }},
      {"long max", [](VARIANT& v) { V_VT(&v) = VT_I4; V_I4(&v) = std::numeric_limits<LONG>::max(); }},
      {"single NaN", [](VARIANT& v) { V_VT(&v) = VT_R4; V_R4(&v) = std::nanf(""); }},
      {"double +Inf", [](VARIANT& v) { V_VT(&v) = VT_R8; V_R8(&v) = HUGE_VAL; }},
      {"double -Inf", [](VARIANT& v) { V_VT(&v) = VT_R8; V_R8(&v) = -HUGE_VAL; }},
      {"double 1e300", [](VARIANT& v) { V_VT(&v) = VT_R8; V_R8(&v) = 1e300; }},
      {"text", [](VARIANT& v) { V_VT(&v) = VT_BSTR; V_BSTR(&v) = SysAllocString(L"x\r\ny"); }},
      {"null text", [](VARIANT& v) { V_VT(&v) = VT_BSTR; V_BSTR(&v) = nullptr; }},
      {"true", [](VARIANT& v) { V_VT(&v) = VT_BOOL; V_BOOL(&v) = VARIANT_TRUE; }},
      {"no object", [](VARIANT& v) { V_VT(&v) = VT_DISPATCH; V_DISPATCH(&v) = nullptr; }},
      {"no unknown", [](VARIANT& v) { V_VT(&v) = VT_UNKNOWN; V_UNKNOWN(&v) = nullptr; }},
      {"missing", [](VARIANT& v) { V_VT(&v) = VT_ERROR; V_ERROR(&v) = DISP_E_PARAMNOTFOUND; }},
      {"error 0", [](VARIANT& v) { V_VT(&v) = VT_ERROR; V_ERROR(&v) = 0; }},
      {"currency", [](VARIANT& v) { V_VT(&v) = VT_CY; V_CY(&v).int64 = 123456789; }},
      {"date", [](VARIANT& v) { V_VT(&v) = VT_DATE; V_DATE(&v) = 1e9; }},
      {"byte", [](VARIANT& v) { V_VT(&v) = VT_UI1; V_UI1(&v) = 200; }},
      {"unsigned max", [](VARIANT& v) { V_VT(&v) = VT_UI4; V_UI4(&v) = 0xFFFFFFFFu; }},
      {"64-bit", [](VARIANT& v) { V_VT(&v) = VT_I8; V_I8(&v) = std::numeric_limits<LONGLONG>::min(); }},
      {"ref variant to nothing", [](VARIANT& v) { V_VT(&v) = VT_BYREF | VT_VARIANT; V_VARIANTREF(&v) = nullptr; }},
      {"ref text to nothing", [](VARIANT& v) { V_VT(&v) = VT_BYREF | VT_BSTR; V_BSTRREF(&v) = nullptr; }},
      {"ref integer to nothing", [](VARIANT& v) { V_VT(&v) = VT_BYREF | VT_I2; V_I2REF(&v) = nullptr; }},
      {"ref object to nothing", [](VARIANT& v) { V_VT(&v) = VT_BYREF | VT_DISPATCH; V_DISPATCHREF(&v) = nullptr; }},
      {"ref to a ref to nothing",
       [](VARIANT& v) { V_VT(&v) = VT_BYREF | VT_VARIANT; V_VARIANTREF(&v) = &nested_null_ref; }},
      {"array without data", [](VARIANT& v) { V_VT(&v) = VT_ARRAY | VT_I4; V_ARRAY(&v) = nullptr; }},
      {"bare variant kind", [](VARIANT& v) { V_VT(&v) = VT_VARIANT; }},
      {"unknown kind", [](VARIANT& v) { V_VT(&v) = 0x0FFF; }},
  };
  return values;
}

// Frees what a hostile value owns (only texts own anything).
void free_value(VARIANT& v) {
  if (V_VT(&v) == VT_BSTR) SysFreeString(V_BSTR(&v));
  VariantInit(&v);
}

// A container's property bag that answers every key with one value.
class AnsweringBag final : public IPropertyBag {
 public:
  explicit AnsweringBag(const Hostile& value) : value_(value) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
      *out = static_cast<IPropertyBag*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR, VARIANT* out, IErrorLog*) override {
    VariantInit(out);
    value_.make(*out);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return E_FAIL; }

 private:
  const Hostile& value_;
};

// The windows of this thread, children included.
BOOL CALLBACK count_window(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}
BOOL CALLBACK count_top_window(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, count_window, count);
  return TRUE;
}
int thread_windows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), count_top_window, reinterpret_cast<LPARAM>(&count));
  return count;
}

// What a control saves, as comparable text.
std::vector<std::wstring> saved(IUnknown* object) {
  ComPtr<IPersistPropertyBag> persist;
  EXPECT_EQ(object->QueryInterface(IID_PPV_ARGS(persist.GetAddressOf())), S_OK);
  RecordingPropertyBag bag;
  EXPECT_EQ(persist->Save(&bag, TRUE, TRUE), S_OK);
  std::vector<std::wstring> out;
  for (const std::wstring& key : bag.keys()) out.push_back(key + L"=" + variant_text(bag.get(key)));
  return out;
}

std::vector<uint8_t> stream_bytes(IUnknown* object) {
  ComPtr<IPersistStreamInit> persist;
  EXPECT_EQ(object->QueryInterface(IID_PPV_ARGS(persist.GetAddressOf())), S_OK);
  ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
  EXPECT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::vector<uint8_t> bytes(size_t(stat.cbSize.QuadPart));
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ULONG got = 0;
  stream->Read(bytes.data(), ULONG(bytes.size()), &got);
  bytes.resize(got);
  return bytes;
}

ComPtr<IStream> stream_of(const std::vector<uint8_t>& bytes) {
  ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
  ULONG written = 0;
  if (!bytes.empty()) stream->Write(bytes.data(), ULONG(bytes.size()), &written);
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  return stream;
}

HRESULT load_stream(IUnknown* object, const std::vector<uint8_t>& bytes) {
  ComPtr<IPersistStreamInit> persist;
  object->QueryInterface(IID_PPV_ARGS(persist.GetAddressOf()));
  return persist->Load(stream_of(bytes).Get());
}

HRESULT load_storage(IUnknown* object, const std::vector<uint8_t>& bytes) {
  ComPtr<ILockBytes> lock;
  EXPECT_EQ(CreateILockBytesOnHGlobal(nullptr, TRUE, lock.GetAddressOf()), S_OK);
  ComPtr<IStorage> storage;
  EXPECT_EQ(StgCreateDocfileOnILockBytes(lock.Get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                         0, storage.GetAddressOf()),
            S_OK);
  ComPtr<IStream> contents;
  EXPECT_EQ(storage->CreateStream(L"Contents", STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                  contents.GetAddressOf()),
            S_OK);
  ULONG written = 0;
  if (!bytes.empty()) contents->Write(bytes.data(), ULONG(bytes.size()), &written);
  contents.Reset();
  ComPtr<IPersistStorage> persist;
  object->QueryInterface(IID_PPV_ARGS(persist.GetAddressOf()));
  return persist->Load(storage.Get());
}

ComPtr<IDispatch> new_control(const ClassInfo& info) {
  ComPtr<IDispatch> object;
  EXPECT_EQ(CoCreateInstance(guid(info.clsid), nullptr, CLSCTX_INPROC_SERVER,
                             IID_PPV_ARGS(object.GetAddressOf())),
            S_OK)
      << utf8(info.name);
  if (!object) return object;
  ComPtr<IPersistStreamInit> persist;
  object.As(&persist);
  EXPECT_EQ(persist->InitNew(), S_OK);
  return object;
}

struct Member {
  DISPID id;
  WORD kind;
  UINT args;  // without the return value
};

std::vector<Member> members_of(IDispatch* object) {
  std::vector<Member> out;
  ComPtr<ITypeInfo> info;
  if (FAILED(object->GetTypeInfo(0, 0, info.GetAddressOf()))) return out;
  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  const WORD count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  for (WORD i = 0; i < count; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(info->GetFuncDesc(i, &f))) continue;
    UINT args = 0;
    for (SHORT p = 0; p < f->cParams; ++p)
      if (!(f->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) ++args;
    // The about box and the tray control's message box are modal: they wait
    // for a user and are tested on their own.
    BSTR name = nullptr;
    UINT names = 0;
    info->GetNames(f->memid, &name, 1, &names);
    const bool modal = f->memid == DISPID_ABOUTBOX || (name && lstrcmpiW(name, L"MsgBox") == 0);
    SysFreeString(name);
    if (!modal && f->memid >= -1000 && f->memid < 0x60000000)
      out.push_back({f->memid, WORD(f->invkind), args});
    info->ReleaseFuncDesc(f);
  }
  return out;
}

// Invokes a member; the result, if any, is cleared.
HRESULT invoke(IDispatch* object, const Member& m, DISPPARAMS& params) {
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO excep = {};
  UINT arg_err = 0;
  const bool put = m.kind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF);
  HRESULT hr = object->Invoke(m.id, IID_NULL, 0, WORD(m.kind), &params, put ? nullptr : &result,
                              &excep, &arg_err);
  VariantClear(&result);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
  return hr;
}

class Robustness : public ::testing::Test {
 protected:
  void SetUp() override {
    // The thread's first control makes the windows every later one shares
    // (the parking window of unattached controls): count after it.
    new_addremove().Reset();
    pump_messages();
    windows_before_ = thread_windows();
  }
  void TearDown() override {
    pump_messages();
    EXPECT_EQ(thread_windows(), windows_before_) << "windows left behind";
    HMODULE server = GetModuleHandleW(L"QuorralSet.ocx");
    if (server) {
      auto can_unload = reinterpret_cast<HRESULT(WINAPI*)()>(
          reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow")));
      if (can_unload) {
        EXPECT_EQ(can_unload(), S_OK) << "objects left alive";
      }
    }
  }
  int windows_before_ = 0;
};

// Findings of a probe, each its own case.

TEST_F(Robustness, ReferencesToNothingAsInvokeArgumentsAreRefused) {
  ComPtr<_AddRemove> c = new_addremove();
  ComPtr<IDispatch> d;
  c.As(&d);
  struct Case {
    const char* member;
    WORD kind;
    VARTYPE vt;
  };
  const Case cases[] = {
      {"LAddItem", DISPATCH_METHOD, VT_BYREF | VT_VARIANT},
      {"LAddItem", DISPATCH_METHOD, VT_BYREF | VT_BSTR},
      {"LeftList", DISPATCH_PROPERTYPUT, VT_BYREF | VT_VARIANT},
      {"LTitle", DISPATCH_PROPERTYPUT, VT_BYREF | VT_BSTR},
  };
  for (const Case& k : cases) {
    std::wstring name(k.member, k.member + strlen(k.member));
    LPOLESTR names[] = {name.data()};
    DISPID id = 0;
    ASSERT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    V_VT(&args[0]) = k.vt;
    V_BYREF(&args[0]) = nullptr;
    V_VT(&args[1]) = VT_BSTR;
    V_BSTR(&args[1]) = SysAllocString(L"item");
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {args, k.kind == DISPATCH_METHOD ? nullptr : &put,
                         k.kind == DISPATCH_METHOD ? 2u : 1u, k.kind == DISPATCH_METHOD ? 0u : 1u};
    UINT arg_err = 99;
    HRESULT hr = d->Invoke(id, IID_NULL, 0, k.kind, &params, nullptr, nullptr, &arg_err);
    EXPECT_EQ(hr, DISP_E_TYPEMISMATCH) << k.member;
    EXPECT_EQ(arg_err, 0u) << k.member;
    SysFreeString(V_BSTR(&args[1]));
  }
  EXPECT_EQ(left_items(c.Get()), std::vector<std::wstring>{});
}

TEST_F(Robustness, ArgumentArraysThatAreNotThereAreRefused) {
  ComPtr<_AddRemove> c = new_addremove();
  ComPtr<IDispatch> d;
  c.As(&d);
  DISPID lremove = 8;
  DISPPARAMS no_args = {nullptr, nullptr, 1, 0};
  EXPECT_EQ(d->Invoke(lremove, IID_NULL, 0, DISPATCH_METHOD, &no_args, nullptr, nullptr, nullptr),
            E_INVALIDARG);
  VARIANT arg;
  VariantInit(&arg);
  V_VT(&arg) = VT_I2;
  DISPPARAMS no_names = {&arg, nullptr, 1, 1};
  EXPECT_EQ(d->Invoke(lremove, IID_NULL, 0, DISPATCH_METHOD, &no_names, nullptr, nullptr, nullptr),
            E_INVALIDARG);
  DISPID names[2] = {DISPID_PROPERTYPUT, DISPID_PROPERTYPUT};
  DISPPARAMS more_names = {&arg, names, 1, 2};
  EXPECT_EQ(d->Invoke(lremove, IID_NULL, 0, DISPATCH_METHOD, &more_names, nullptr, nullptr, nullptr),
            E_INVALIDARG);
}

TEST_F(Robustness, ManyDistinctKeysLoadAtOnce) {
  MemoryPropertyBag bag;
  for (int i = 0; i < 65536; ++i) bag.put(utf16("Key" + std::to_string(i)), Variant(int32_t(i)));
  bag.put(u"LTitle", Variant(u"kept"));
  ComPtr<_AddRemove> c = new_addremove();
  EXPECT_EQ(load_stream(c.Get(), encode_property_stream(bag)), S_OK);
  BSTR title = nullptr;
  ASSERT_EQ(c->get_LTitle(&title), S_OK);
  EXPECT_STREQ(title, L"kept");
  SysFreeString(title);
}

TEST_F(Robustness, ARefusedLoadLeavesEverythingAsItWas) {
  // Each bag holds acceptable values read before one that is refused.
  struct Case {
    const char* what;
    const wchar_t* bad_key;
    std::function<void(VARIANT&)> bad_value;
  };
  const Case cases[] = {
      {"BackStyle 7", L"BackStyle", [](VARIANT& v) { V_VT(&v) = VT_I2; V_I2(&v) = 7; }},
      {"Font a number", L"Font", [](VARIANT& v) { V_VT(&v) = VT_I4; V_I4(&v) = 3; }},
      {"Orientation text", L"Orientation",
       [](VARIANT& v) { V_VT(&v) = VT_BSTR; V_BSTR(&v) = SysAllocString(L"abc"); }},
      {"Orientation NaN", L"Orientation", [](VARIANT& v) { V_VT(&v) = VT_R8; V_R8(&v) = std::nan(""); }},
      {"Orientation +Inf", L"Orientation", [](VARIANT& v) { V_VT(&v) = VT_R8; V_R8(&v) = HUGE_VAL; }},
      {"Orientation Null", L"Orientation", [](VARIANT& v) { V_VT(&v) = VT_NULL; }},
      {"list text NaN", L"RightList", [](VARIANT& v) { V_VT(&v) = VT_R8; V_R8(&v) = std::nan(""); }},
      {"list text a reference to nothing", L"RightList",
       [](VARIANT& v) { V_VT(&v) = VT_BYREF | VT_VARIANT; V_VARIANTREF(&v) = nullptr; }},
  };
  for (const Case& k : cases) {
    ComPtr<_AddRemove> c = new_addremove();
    fill(c.Get());
    const AddRemoveState before = state_of(c.Get());
    RecordingPropertyBag bag;
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = 0x123456;
    bag.put(L"BackColor", v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(L"new\r\nleft");
    bag.put(L"LeftList", v);
    VariantClear(&v);
    k.bad_value(v);
    bag.put(k.bad_key, v);
    if (V_VT(&v) == VT_BSTR) VariantClear(&v);
    ComPtr<IPersistPropertyBag> persist;
    c.As(&persist);
    EXPECT_TRUE(FAILED(persist->Load(&bag, nullptr))) << k.what;
    EXPECT_TRUE(state_of(c.Get()) == before) << k.what << ": the control changed";
    // The host can still save its document.
    RecordingPropertyBag out;
    EXPECT_EQ(persist->Save(&out, TRUE, TRUE), S_OK) << k.what;
  }
}

TEST_F(Robustness, SkippingConnectionPointsCannotWrapAround) {
  ComPtr<_AddRemove> c = new_addremove();
  ComPtr<IConnectionPointContainer> cpc;
  c.As(&cpc);
  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(cpc->EnumConnectionPoints(points.GetAddressOf()), S_OK);
  IConnectionPoint* first = nullptr;
  ASSERT_EQ(points->Next(1, &first, nullptr), S_OK);
  first->Release();
  EXPECT_EQ(points->Skip(0xFFFFFFFFu), S_FALSE);
  IConnectionPoint* again = nullptr;
  ULONG fetched = 7;
  EXPECT_EQ(points->Next(1, &again, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
}

// The walk over every control class.

// A user who cancels every dialog the process opens (a member that shows the
// system's open-file dialog waits for one), until it goes out of scope.
class DialogCanceller {
 public:
  DialogCanceller() : thread_([this] { run(); }) {}
  ~DialogCanceller() {
    stop_ = true;
    thread_.join();
  }

 private:
  void run() {
    while (!stop_) {
      EnumWindows(&DialogCanceller::cancel, 0);
      Sleep(50);
    }
  }
  static BOOL CALLBACK cancel(HWND w, LPARAM) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0) {
      PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
  }
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST_F(Robustness, EveryControlSurvivesHostileCallsStoresAndStreams) {
  DialogCanceller user;
  for (const ClassInfo* info : published_classes()) {
    if (info->kind != ClassKind::kControl) continue;
    SCOPED_TRACE(utf8(info->name));
    int cases = 0;
    ComPtr<IDispatch> object = new_control(*info);
    ASSERT_TRUE(object);

    // Every member with malformed parameter blocks and every kind of value
    // in every argument position.
    for (const Member& m : members_of(object.Get())) {
      const bool put = m.kind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF);
      VARIANT spare[8];
      for (VARIANT& v : spare) { VariantInit(&v); V_VT(&v) = VT_I2; V_I2(&v) = 0; }
      DISPID named = DISPID_PROPERTYPUT;
      DISPPARAMS missing_args = {nullptr, nullptr, std::max(m.args, 1u), 0};
      DISPPARAMS missing_names = {spare, nullptr, std::max(m.args, 1u), 1};
      DISPPARAMS too_many = {spare, put ? &named : nullptr, m.args + 3, put ? 1u : 0u};
      DISPPARAMS too_few = {spare, nullptr, 0, 0};
      for (DISPPARAMS* p : {&missing_args, &missing_names, &too_many, &too_few}) {
        invoke(object.Get(), m, *p);
        ++cases;
      }
      for (UINT position = 0; position < m.args; ++position) {
        for (const Hostile& h : hostile_values()) {
          VARIANT args[8];
          for (VARIANT& v : args) { VariantInit(&v); V_VT(&v) = VT_I2; V_I2(&v) = 0; }
          h.make(args[position]);
          DISPPARAMS params = {args, put ? &named : nullptr, m.args, put ? 1u : 0u};
          invoke(object.Get(), m, params);
          free_value(args[position]);
          ++cases;
        }
      }
    }
    // Whatever the calls left, the control still saves, and what it saves loads.
    const std::vector<uint8_t> good = stream_bytes(object.Get());
    EXPECT_EQ(load_stream(object.Get(), good), S_OK);

    // A bag answering every key with one value: refused, or it saves and
    // loads back the same.
    for (const Hostile& h : hostile_values()) {
      SCOPED_TRACE(h.name);
      const std::vector<std::wstring> before = saved(object.Get());
      AnsweringBag bag(h);
      ComPtr<IPersistPropertyBag> persist;
      object.As(&persist);
      if (SUCCEEDED(persist->Load(&bag, nullptr))) {
        const std::vector<uint8_t> bytes = stream_bytes(object.Get());
        const std::vector<std::wstring> after = saved(object.Get());
        EXPECT_EQ(load_stream(object.Get(), bytes), S_OK);
        EXPECT_EQ(saved(object.Get()), after);
      } else {
        EXPECT_EQ(saved(object.Get()), before);
      }
      ++cases;
    }

    // Truncated and mutated streams and storages: refused or loaded, never
    // half-loaded.
    ASSERT_EQ(load_stream(object.Get(), good), S_OK);
    const std::vector<std::wstring> reference = saved(object.Get());
    const size_t step = std::max<size_t>(1, good.size() / 64);
    for (size_t length = 0; length < good.size(); length += step) {
      std::vector<uint8_t> cut(good.begin(), good.begin() + ptrdiff_t(length));
      if (FAILED(load_stream(object.Get(), cut))) {
        EXPECT_EQ(saved(object.Get()), reference);
      }
      ASSERT_EQ(load_stream(object.Get(), good), S_OK);
      if (FAILED(load_storage(object.Get(), cut))) {
        EXPECT_EQ(saved(object.Get()), reference);
      }
      ASSERT_EQ(load_stream(object.Get(), good), S_OK);
      cases += 2;
    }
    uint32_t seed = 12345;
    for (int round = 0; round < 200; ++round) {
      std::vector<uint8_t> mutated = good;
      seed = seed * 1103515245u + 12345u;
      const size_t at = (seed >> 8) % mutated.size();
      mutated[at] = uint8_t(mutated[at] ^ (1u << (seed % 8)) ^ (round & 1 ? 0xFF : 0));
      if (SUCCEEDED(load_stream(object.Get(), mutated))) {
        // What loaded saves and loads again.
        EXPECT_EQ(load_stream(object.Get(), stream_bytes(object.Get())), S_OK);
      }
      ASSERT_EQ(load_stream(object.Get(), good), S_OK);
      ++cases;
    }
    // The control still works.
    EXPECT_EQ(saved(object.Get()), reference);
    std::printf("[ robustness ] %s: %d hostile cases\n", utf8(info->name).c_str(), cases);
  }
}

}  // namespace
}  // namespace qs::test
