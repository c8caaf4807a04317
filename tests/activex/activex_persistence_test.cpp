// Persistence through IPersistPropertyBag, IPersistStreamInit and
// IPersistStorage: the defaults a new instance saves, and the same state
// through all three.
#include <gtest/gtest.h>

#include "core/property_stream_codec.h"
#include "tests/activex/addremove_client.h"

namespace qs::test {
namespace {

std::wstring bstr_value(const VARIANT& v) {
  return V_VT(&v) == VT_BSTR && V_BSTR(&v) ? std::wstring(V_BSTR(&v)) : L"<not text>";
}

TEST(Persistence, NewInstanceSavesOnlyWhatDiffersFromItsDefaults) {
  ComPtr<_AddRemove> c = new_addremove();
  ASSERT_TRUE(c);
  ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(c.As(&persist), S_OK);
  auto* bag = new RecordingPropertyBag;
  ASSERT_EQ(persist->Save(bag, TRUE, FALSE), S_OK);
  // Saving captures the two empty lists into their texts, which differ from
  // the initial texts; the item-data texts become "" too, which the store
  // does not count as equal to their numeric default 0. The surface starts
  // opaque (1) while the stored default is 0, so BackStyle is written.
  // Everything else is at its default and is left out (the font included:
  // no ambient font, so the default font on both sides).
  EXPECT_EQ(bag->keys(),
            (std::vector<std::wstring>{L"BackStyle", L"LeftList", L"RightList",
                                       L"ListListItemData", L"RightListItemData"}));
  EXPECT_EQ(V_VT(&bag->get(L"BackStyle")), VT_I2);
  EXPECT_EQ(V_I2(&bag->get(L"BackStyle")), 1);
  EXPECT_EQ(bstr_value(bag->get(L"LeftList")), L"");
  EXPECT_EQ(bstr_value(bag->get(L"RightList")), L"");
  EXPECT_EQ(bstr_value(bag->get(L"ListListItemData")), L"");
  EXPECT_EQ(bstr_value(bag->get(L"RightListItemData")), L"");
  bag->Release();

  // Restoring from an empty bag gives the state of a new instance, apart
  // from the lists, which restoring loads ("LeftList" and "Rightlist"), and
  // the back style, which takes its stored default 0.
  ComPtr<_AddRemove> restored = create_addremove();
  ComPtr<IPersistPropertyBag> restored_persist;
  ASSERT_EQ(restored.As(&restored_persist), S_OK);
  auto* empty = new RecordingPropertyBag;
  ASSERT_EQ(restored_persist->Load(empty, nullptr), S_OK);
  EXPECT_EQ(empty->reads.size(), 14u);
  empty->Release();
  AddRemoveState fresh = state_of(new_addremove().Get());
  AddRemoveState loaded = state_of(restored.Get());
  EXPECT_EQ(loaded.left, std::vector<std::wstring>{L"LeftList"});
  EXPECT_EQ(loaded.right, std::vector<std::wstring>{L"Rightlist"});
  loaded.left = fresh.left;
  loaded.right = fresh.right;
  loaded.left_data = fresh.left_data;
  loaded.right_data = fresh.right_data;
  EXPECT_EQ(loaded.back_style, 0);
  loaded.back_style = fresh.back_style;
  EXPECT_EQ(loaded, fresh);
}

// Fills a new AddRemove, saves it with save, and gives its state after saving.
AddRemoveState filled_and_saved(std::function<void(_AddRemove*)> save) {
  ComPtr<_AddRemove> c = new_addremove();
  fill(c.Get());
  save(c.Get());
  return state_of(c.Get());
}

TEST(Persistence, BagStreamAndStorageGiveTheSameState) {
  // Property bag.
  ComPtr<IPropertyBag> bag;
  bag.Attach(new RecordingPropertyBag);
  AddRemoveState saved = filled_and_saved([&](_AddRemove* c) {
    ComPtr<IPersistPropertyBag> p;
    ASSERT_EQ(ComPtr<_AddRemove>(c).As(&p), S_OK);
    ASSERT_EQ(p->Save(bag.Get(), TRUE, FALSE), S_OK);
  });
  ComPtr<_AddRemove> from_bag = create_addremove();
  ComPtr<IPersistPropertyBag> bag_loader;
  ASSERT_EQ(from_bag.As(&bag_loader), S_OK);
  ASSERT_EQ(bag_loader->Load(bag.Get(), nullptr), S_OK);
  // The font goes into the bag as a font object.
  auto* recorded = static_cast<RecordingPropertyBag*>(bag.Get());
  EXPECT_EQ(V_VT(&recorded->get(L"Font")), VT_DISPATCH);

  // Stream.
  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
  ULARGE_INTEGER size_max = {};
  AddRemoveState saved_by_stream = filled_and_saved([&](_AddRemove* c) {
    ComPtr<IPersistStreamInit> p;
    ASSERT_EQ(ComPtr<_AddRemove>(c).As(&p), S_OK);
    ASSERT_EQ(p->GetSizeMax(&size_max), S_OK);
    ASSERT_EQ(p->Save(stream.Get(), TRUE), S_OK);
  });
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  EXPECT_GE(size_max.QuadPart, stat.cbSize.QuadPart);
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  char magic[4] = {};
  stream->Read(magic, 4, nullptr);
  EXPECT_EQ(std::string(magic, 4), "QSPS");
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ComPtr<_AddRemove> from_stream = create_addremove();
  ComPtr<IPersistStreamInit> stream_loader;
  ASSERT_EQ(from_stream.As(&stream_loader), S_OK);
  ASSERT_EQ(stream_loader->Load(stream.Get()), S_OK);

  // Storage.
  ComPtr<IStorage> storage;
  ASSERT_EQ(StgCreateDocfile(nullptr,
                             STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE |
                                 STGM_DELETEONRELEASE,
                             0, storage.GetAddressOf()),
            S_OK);
  AddRemoveState saved_by_storage = filled_and_saved([&](_AddRemove* c) {
    ComPtr<IPersistStorage> p;
    ASSERT_EQ(ComPtr<_AddRemove>(c).As(&p), S_OK);
    ASSERT_EQ(p->Save(storage.Get(), FALSE), S_OK);
  });
  ComPtr<_AddRemove> from_storage = create_addremove();
  ComPtr<IPersistStorage> storage_loader;
  ASSERT_EQ(from_storage.As(&storage_loader), S_OK);
  ASSERT_EQ(storage_loader->Load(storage.Get()), S_OK);

  // What was filled in, as saved.
  EXPECT_EQ(saved.left, (std::vector<std::wstring>{L"Red", L"Green", L"", L"Blue"}));
  EXPECT_EQ(saved.left_data, (std::vector<LONG>{5, -2, 0, 0}));
  EXPECT_EQ(saved.right_data, (std::vector<LONG>{0, 70000}));
  // The platform's font object reports the face it realised, which depends
  // on the fonts installed: compare with what a font object made alike says.
  EXPECT_EQ(saved.font_name, realised(L"Tahoma", 120000, true).first);
  EXPECT_EQ(saved.font_size, realised(L"Tahoma", 120000, true).second);
  EXPECT_TRUE(saved.font_bold);
  EXPECT_EQ(saved.left_list, std::to_wstring(VT_BSTR) + L":Red\r\nGreen\r\n\r\nBlue");
  EXPECT_EQ(saved_by_stream, saved);
  EXPECT_EQ(saved_by_storage, saved);

  EXPECT_EQ(state_of(from_bag.Get()), saved);
  EXPECT_EQ(state_of(from_stream.Get()), saved);
  EXPECT_EQ(state_of(from_storage.Get()), saved);
}

TEST(Persistence, DirtyAfterAnAssignmentCleanAfterSave) {
  ComPtr<_AddRemove> c = new_addremove();
  ComPtr<IPersistStreamInit> p;
  ASSERT_EQ(c.As(&p), S_OK);
  EXPECT_EQ(p->IsDirty(), S_FALSE);
  ComPtr<IStream> first;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, first.GetAddressOf()), S_OK);
  // Saving captures the lists into their texts; that alone makes nothing dirty.
  ASSERT_EQ(p->Save(first.Get(), FALSE), S_OK);
  EXPECT_EQ(p->IsDirty(), S_FALSE);
  ASSERT_EQ(c->put_ShowTitles(VARIANT_FALSE), S_OK);
  EXPECT_EQ(p->IsDirty(), S_OK);
  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
  ASSERT_EQ(p->Save(stream.Get(), FALSE), S_OK);
  EXPECT_EQ(p->IsDirty(), S_OK);
  ASSERT_EQ(p->Save(stream.Get(), TRUE), S_OK);
  EXPECT_EQ(p->IsDirty(), S_FALSE);
}

TEST(Persistence, WrongKindsFailTheLoadAndLeaveTheObjectUsable) {
  ComPtr<_AddRemove> c = create_addremove();
  ComPtr<IPersistPropertyBag> p;
  ASSERT_EQ(c.As(&p), S_OK);

  ComPtr<RecordingPropertyBag> text_font;
  text_font.Attach(new RecordingPropertyBag);
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(L"Arial");
  text_font->put(L"Font", v);
  VariantClear(&v);
  EXPECT_EQ(p->Load(text_font.Get(), nullptr), HRESULT(0x800A000D));  // type mismatch
  IErrorInfo* error = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &error), S_OK);
  BSTR description = nullptr;
  error->GetDescription(&description);
  EXPECT_STREQ(description, L"Type mismatch");
  SysFreeString(description);
  error->Release();

  ComPtr<RecordingPropertyBag> bad_style;
  bad_style.Attach(new RecordingPropertyBag);
  V_VT(&v) = VT_I2;
  V_I2(&v) = 5;
  bad_style->put(L"BackStyle", v);
  EXPECT_EQ(p->Load(bad_style.Get(), nullptr), HRESULT(0x800A017C));  // invalid property value

  // Still usable: a good bag loads, properties work.
  ComPtr<RecordingPropertyBag> good;
  good.Attach(new RecordingPropertyBag);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(L"One\r\nTwo");
  good->put(L"LeftList", v);
  VariantClear(&v);
  EXPECT_EQ(p->Load(good.Get(), nullptr), S_OK);
  EXPECT_EQ(left_items(c.Get()), (std::vector<std::wstring>{L"One", L"Two"}));
  EXPECT_EQ(c->put_BackStyle(1), S_OK);

  // A stream that is not ours, or cut short, is refused.
  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
  ComPtr<IPersistStreamInit> ps;
  ASSERT_EQ(c.As(&ps), S_OK);
  ASSERT_EQ(ps->Save(stream.Get(), TRUE), S_OK);
  ULARGE_INTEGER half = {};
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  half.QuadPart = stat.cbSize.QuadPart / 2;
  stream->SetSize(half);
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  EXPECT_TRUE(FAILED(ps->Load(stream.Get())));
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  stream->Write("XXXX", 4, nullptr);
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  EXPECT_TRUE(FAILED(ps->Load(stream.Get())));
  EXPECT_EQ(left_items(c.Get()), (std::vector<std::wstring>{L"One", L"Two"}));
}

// A stream whose picture data the platform cannot load fails the whole load
// with "Invalid picture", and the control keeps every value it had.
TEST(Persistence, PictureDataThatIsNoPictureFailsTheStreamLoadAsAWhole) {
  ComPtr<_AddRemove> c = new_addremove();
  ComPtr<IPersistStreamInit> ps;
  ASSERT_EQ(c.As(&ps), S_OK);
  MemoryPropertyBag good;
  good.put(u"LeftList", Variant(u"One\r\nTwo"));
  MemoryPropertyBag bad;
  bad.put(u"LeftList", Variant(u"Changed"));
  auto junk = std::make_shared<Picture>();
  junk->type = PictureType::kIcon;
  junk->data.assign(64, 0xEE);
  bad.put(u"Junk", Variant(PictureRef(junk)));
  for (const MemoryPropertyBag* bag : {&good, &bad}) {
    const std::vector<uint8_t> bytes = encode_property_stream(*bag);
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
    stream->Write(bytes.data(), ULONG(bytes.size()), nullptr);
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(ps->Load(stream.Get()), bag == &good ? S_OK : HRESULT(0x800A01E1));
  }
  EXPECT_EQ(left_items(c.Get()), (std::vector<std::wstring>{L"One", L"Two"}));
}

// A text far longer than any single read chunk survives the stream as it
// was saved: what the stream can write, it can read back.
TEST(Persistence, StreamKeepsAVeryLongText) {
  ComPtr<_AddRemove> c = new_addremove();
  ASSERT_TRUE(c);
  const std::wstring long_text(17u * 1024 * 1024 + 3, L'x');
  BSTR title = SysAllocStringLen(long_text.data(), UINT(long_text.size()));
  ASSERT_EQ(c->put_RTitle(title), S_OK);
  SysFreeString(title);

  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
  ComPtr<IPersistStreamInit> saver;
  ASSERT_EQ(c.As(&saver), S_OK);
  ASSERT_EQ(saver->Save(stream.Get(), TRUE), S_OK);
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);

  ComPtr<_AddRemove> restored = create_addremove();
  ComPtr<IPersistStreamInit> loader;
  ASSERT_EQ(restored.As(&loader), S_OK);
  ASSERT_EQ(loader->Load(stream.Get()), S_OK);
  BSTR back = nullptr;
  ASSERT_EQ(restored->get_RTitle(&back), S_OK);
  EXPECT_EQ(SysStringLen(back), long_text.size());
  EXPECT_TRUE(std::wstring(back, SysStringLen(back)) == long_text);
  SysFreeString(back);

  // A stream that claims a text longer than the data it holds fails the
  // load instead of allocating what it claims.
  ComPtr<IStream> truncated;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, truncated.GetAddressOf()), S_OK);
  const char header[] = {'Q', 'S', 'P', 'S'};
  truncated->Write(header, 4, nullptr);
  LARGE_INTEGER after_magic;
  after_magic.QuadPart = 4;
  stream->Seek(after_magic, STREAM_SEEK_SET, nullptr);
  char rest[8];
  stream->Read(rest, 8, nullptr);  // version, reserved, record count
  truncated->Write(rest, 8, nullptr);
  const uint32_t claimed = 0x3FFFFFF0u;
  truncated->Write(&claimed, 4, nullptr);
  truncated->Seek(zero, STREAM_SEEK_SET, nullptr);
  ComPtr<_AddRemove> other = create_addremove();
  ComPtr<IPersistStreamInit> other_loader;
  ASSERT_EQ(other.As(&other_loader), S_OK);
  EXPECT_TRUE(FAILED(other_loader->Load(truncated.Get())));
}

}  // namespace
}  // namespace qs::test
