// Dirtext through COM: a chosen path, its selection and the dialog type
// survive a save and load through a property bag and through a stream.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/class_list.h"
#include "tests/activex/addremove_client.h"

namespace qs::test {
namespace {

ComPtr<_Dirtext> new_dirtext() {
  ComPtr<_Dirtext> c;
  CLSID clsid = GUID_NULL;
  if (FAILED(CLSIDFromProgID(L"QuorralSet.Dirtext", &clsid))) return c;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, guid(find_class(u"Dirtext")->default_iid),
                   reinterpret_cast<void**>(c.GetAddressOf()));
  ComPtr<IPersistStreamInit> persist;
  if (c && SUCCEEDED(c.As(&persist))) persist->InitNew();
  return c;
}

struct State {
  std::vector<std::wstring> entries;
  short index = -2;
  std::wstring text;
  dlgTypes type = dtOpenFile;
  bool operator==(const State&) const = default;
};

State state_of(_Dirtext* c) {
  State s;
  short count = 0;
  c->get_ListCount(&count);
  for (short i = 0; i < count; ++i) {
    BSTR b = nullptr;
    c->get_List(i, &b);
    s.entries.push_back(b ? b : L"");
    SysFreeString(b);
  }
  c->get_ListIndex(&s.index);
  BSTR t = nullptr;
  c->get_Text(&t);
  s.text = t ? t : L"";
  SysFreeString(t);
  c->get_dlgType(&s.type);
  return s;
}

// A control holding one chosen path, selected or not.
ComPtr<_Dirtext> with_path(bool selected) {
  ComPtr<_Dirtext> c = new_dirtext();
  VARIANT missing;
  VariantInit(&missing);
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  BSTR path = SysAllocString(L"C:\\Docs\\a.txt");
  EXPECT_EQ(c->AddItem(path, missing), S_OK);
  SysFreeString(path);
  if (selected) {
    EXPECT_EQ(c->put_ListIndex(0), S_OK);
  }
  EXPECT_EQ(c->put_dlgType(dtDirectory), S_OK);
  return c;
}

TEST(DirtextCom, AChosenPathRoundTripsThroughABag) {
  for (bool selected : {true, false}) {
    SCOPED_TRACE(selected ? "selected" : "not selected");
    ComPtr<_Dirtext> original = with_path(selected);
    ASSERT_TRUE(original);
    auto* bag = new RecordingPropertyBag;
    ComPtr<IPersistPropertyBag> saver;
    ASSERT_EQ(original.As(&saver), S_OK);
    ASSERT_EQ(saver->Save(bag, TRUE, FALSE), S_OK);
    EXPECT_EQ(V_VT(&bag->get(L"DlgType")), VT_I2);
    EXPECT_EQ(bag->has(L"ListIndex"), !selected);

    ComPtr<_Dirtext> restored = new_dirtext();
    ComPtr<IPersistPropertyBag> loader;
    ASSERT_EQ(restored.As(&loader), S_OK);
    ASSERT_EQ(loader->Load(bag, nullptr), S_OK);
    bag->Release();
    const State expected{{L"C:\\Docs\\a.txt"}, short(selected ? 0 : -1),
                         selected ? L"C:\\Docs\\a.txt" : L"", dtDirectory};
    EXPECT_EQ(state_of(original.Get()), expected);
    EXPECT_EQ(state_of(restored.Get()), expected);
  }
}

TEST(DirtextCom, AChosenPathRoundTripsThroughAStream) {
  ComPtr<_Dirtext> original = with_path(true);
  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
  ComPtr<IPersistStreamInit> saver;
  ASSERT_EQ(original.As(&saver), S_OK);
  ASSERT_EQ(saver->Save(stream.Get(), TRUE), S_OK);
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ComPtr<_Dirtext> restored = new_dirtext();
  ComPtr<IPersistStreamInit> loader;
  ASSERT_EQ(restored.As(&loader), S_OK);
  ASSERT_EQ(loader->Load(stream.Get()), S_OK);
  EXPECT_EQ(state_of(restored.Get()), state_of(original.Get()));
  EXPECT_EQ(state_of(restored.Get()).entries, std::vector<std::wstring>{L"C:\\Docs\\a.txt"});
}

}  // namespace
}  // namespace qs::test
