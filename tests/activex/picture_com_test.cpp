// Pictures crossing COM under Wine: real OLE picture objects made by the
// platform's loader, the same object back out as went in, a host's picture
// kept alive after the host lets go, and pictures through the container's
// property bag and our stream, byte for byte, with damaged data refused and
// the control left as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "activex/com_property_bag.h"
#include "activex/property_stream.h"
#include "activex/variant_convert.h"
#include "core/runtime_error.h"
#include "platform/win32/win32_picture.h"
#include "platform/win32/win32_platform.h"
#include "tests/activex/com_test_support.h"
#include "tests/support/error_of.h"
#include "tests/support/picture_files.h"

namespace qs::test {
namespace {

using activex::from_variant;
using activex::to_variant;

class PictureComTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }

  // Loads bytes through the platform's loader from a file.
  PictureRef load(const char* name, const Bytes& bytes) {
    const auto path = std::filesystem::temp_directory_path() / (std::string("qs_com_") + name);
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    PictureRef p = win32::Win32Platform::current().load_picture(path.u16string());
    std::filesystem::remove(path);
    return p;
  }
};

// The IPicture inside a VARIANT.
ComPtr<IPicture> picture_in(const VARIANT& v) {
  ComPtr<IPicture> p;
  if ((V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) && V_UNKNOWN(&v))
    V_UNKNOWN(&v)->QueryInterface(IID_PPV_ARGS(&p));
  return p;
}

TEST_F(PictureComTest, ThePlatformLoaderMakesOlePicturesThatPaint) {
  const struct { const char* name; Bytes bytes; SHORT type; } cases[] = {
      {"a.bmp", tiny_bitmap(), PICTYPE_BITMAP},
      {"a.ico", tiny_icon(), PICTYPE_ICON},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PictureRef p = load(c.name, c.bytes);
    IPicture* object = win32::ole_picture_of(*p);
    ASSERT_NE(object, nullptr);
    SHORT type = -1;
    object->get_Type(&type);
    EXPECT_EQ(type, c.type);
    OLE_HANDLE handle = 0;
    object->get_Handle(&handle);
    EXPECT_EQ(p->handle, intptr_t(int32_t(handle)));
    // The handle paints: an icon draws, a bitmap selects into a DC.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    if (c.type == PICTYPE_ICON) {
      EXPECT_TRUE(DrawIconEx(dc, 0, 0, reinterpret_cast<HICON>(p->handle), 16, 16, 0, nullptr, DI_NORMAL));
    } else {
      HDC source = CreateCompatibleDC(nullptr);
      HGDIOBJ was = SelectObject(source, reinterpret_cast<HBITMAP>(p->handle));
      EXPECT_NE(was, nullptr);
      EXPECT_TRUE(StretchBlt(dc, 0, 0, 8, 8, source, 0, 0, 2, 2, SRCCOPY));
      EXPECT_EQ(GetPixel(dc, 0, 0) & 0xFFFFFF, COLORREF(0x0000FF)) << "top-left is red";
      SelectObject(source, was);
      DeleteDC(source);
    }
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    EXPECT_EQ(win32::ole_picture_data(object), c.bytes) << "the object saves its file again";
  }
}

TEST_F(PictureComTest, APictureComesBackAsTheSameObject) {
  for (PictureRef p : {load("b.bmp", tiny_bitmap()), load("b.ico", tiny_icon()),
                       win32::Win32Platform::current().load_picture(u"")}) {
    VARIANT out;
    to_variant(Variant(p), &out);
    ASSERT_EQ(V_VT(&out), VT_DISPATCH);
    ComPtr<IPicture> object = picture_in(out);
    ASSERT_TRUE(object);
    EXPECT_EQ(object.Get(), win32::ole_picture_of(*p)) << "the picture's own object goes out";
    EXPECT_EQ(from_variant(out).to_picture(), p) << "and comes back as the same picture";
    VARIANT again;
    to_variant(Variant(p), &again);
    EXPECT_EQ(V_DISPATCH(&again), V_DISPATCH(&out));
    VariantClear(&again);
    VariantClear(&out);
  }
}

TEST_F(PictureComTest, AHostsPictureKeepsWorkingAfterTheHostLetsGo) {
  const Bytes file = tiny_bitmap();
  IStream* stream = nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, file.size());
  std::memcpy(GlobalLock(memory), file.data(), file.size());
  GlobalUnlock(memory);
  ASSERT_EQ(CreateStreamOnHGlobal(memory, TRUE, &stream), S_OK);
  IPictureDisp* outside = nullptr;
  ASSERT_EQ(OleLoadPicture(stream, LONG(file.size()), FALSE, IID_IPictureDisp,
                           reinterpret_cast<void**>(&outside)), S_OK);
  stream->Release();
  VARIANT in;
  VariantInit(&in);
  V_VT(&in) = VT_DISPATCH;
  V_DISPATCH(&in) = outside;
  PictureRef p = from_variant(in).to_picture();
  outside->Release();  // the host's only reference
  ASSERT_TRUE(p);
  EXPECT_EQ(p->type, PictureType::kBitmap);
  EXPECT_EQ(p->pixel_width, 2);
  EXPECT_EQ(p->data, file) << "what the object saves as";
  BITMAP bm{};
  EXPECT_EQ(GetObjectW(reinterpret_cast<HBITMAP>(p->handle), sizeof bm, &bm), int(sizeof bm))
      << "the handle is still alive";
  VARIANT out;
  to_variant(Variant(p), &out);
  EXPECT_EQ(V_DISPATCH(&out), outside) << "the host's own object comes back";
  VariantClear(&out);
}

TEST_F(PictureComTest, NothingAndTheEmptyPictureStayApartThroughCom) {
  VARIANT out;
  to_variant(Variant::nothing(), &out);
  EXPECT_EQ(V_VT(&out), VT_DISPATCH);
  EXPECT_EQ(V_DISPATCH(&out), nullptr);
  EXPECT_EQ(from_variant(out).to_picture(), nullptr);
  to_variant(Variant(make_empty_picture()), &out);
  ComPtr<IPicture> object = picture_in(out);
  ASSERT_TRUE(object) << "an empty picture is an object";
  SHORT type = -1;
  object->get_Type(&type);
  EXPECT_EQ(type, PICTYPE_NONE);
  PictureRef back = from_variant(out).to_picture();
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->empty());
  VariantClear(&out);
}

// The cases every persistence path runs: what is written and what comes back.
struct StoredCase {
  const char* what;
  std::function<Variant()> value;
};
std::vector<StoredCase> stored_cases() {
  return {
      {"bitmap", [] { return Variant(win32::load_ole_picture(tiny_bitmap())); }},
      {"icon", [] { return Variant(win32::load_ole_picture(tiny_icon())); }},
      {"empty picture object", [] { return Variant(win32::empty_ole_picture()); }},
      {"nothing", [] { return Variant::nothing(); }},
  };
}

void expect_same_picture(const Variant& in, const Variant& out) {
  ASSERT_TRUE(out.is_object());
  PictureRef a = in.to_picture(), b = out.to_picture();
  ASSERT_EQ(bool(a), bool(b)) << "nothing stays nothing, an empty picture a picture";
  if (!a) return;
  EXPECT_EQ(b->type, a->type);
  EXPECT_EQ(b->data, a->data) << "byte for byte";
  EXPECT_EQ(b->width, a->width);
  if (!b->empty()) {
    EXPECT_NE(b->handle, 0);
  }
}

TEST_F(PictureComTest, PicturesRoundTripThroughAPropertyBag) {
  for (const StoredCase& c : stored_cases()) {
    SCOPED_TRACE(c.what);
    ComPtr<RecordingPropertyBag> bag;
    bag.Attach(new RecordingPropertyBag);
    activex::ComPropertyBag store(bag.Get(), nullptr);
    const Variant value = c.value();
    store.write(u"Pic", value, Variant::nothing());
    EXPECT_EQ(bag->has(L"Pic"), value.to_picture() != nullptr) << "the default nothing is not written";
    if (value.to_picture()) {
      EXPECT_TRUE(picture_in(bag->get(L"Pic"))) << "a picture object in the bag";
    }
    // A fresh bag holding only what was written, read as a restore would.
    const Variant back = store.read(u"Pic", Variant::nothing());
    expect_same_picture(value, back);
  }
}

TEST_F(PictureComTest, PicturesRoundTripThroughOurStream) {
  for (const StoredCase& c : stored_cases()) {
    SCOPED_TRACE(c.what);
    MemoryPropertyBag bag;
    const Variant value = c.value();
    bag.put(u"Pic", value);
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
    activex::write_property_stream(bag, stream.Get());
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    MemoryPropertyBag back;
    activex::read_property_stream(stream.Get(), back);
    expect_same_picture(value, back.get(u"Pic"));
  }
}

TEST_F(PictureComTest, PictureDataThePlatformRefusesFailsTheStreamLoad) {
  MemoryPropertyBag bag;
  auto bad = std::make_shared<Picture>();
  bad->type = PictureType::kBitmap;
  bad->data = Bytes(40, 'x');
  bag.put(u"Pic", Variant(PictureRef(bad)));
  const Bytes bytes = encode_property_stream(bag);
  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
  stream->Write(bytes.data(), ULONG(bytes.size()), nullptr);
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
  MemoryPropertyBag back;
  EXPECT_EQ(error_of([&] { activex::read_property_stream(stream.Get(), back); }), kErrInvalidPicture);
}

}  // namespace
}  // namespace qs::test
