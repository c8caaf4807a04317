// The form text format and the property bag over it: every value kind and
// every character must survive a save and a load.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <wrl/client.h>

#include <stdexcept>

#include "container/form_file.h"
#include "container/form_property_bag.h"
#include "tests/support/picture_files.h"

using namespace qs::container;
using Microsoft::WRL::ComPtr;

namespace {

FormValue make(FormValue::Kind kind) {
  FormValue v;
  v.kind = kind;
  return v;
}

Form sample_form() {
  using K = FormValue::Kind;
  Form form;
  form.caption = L"Demo \"one\"";
  form.width = 640;
  form.height = 300;
  FormControl c;
  c.prog_id = L"QuorralSet.AddRemove";
  c.name = L"AddRemove1";
  c.left = -5;
  c.top = 20;
  c.width = 400;
  c.height = 240;
  FormValue s = make(K::String);
  s.text = std::wstring(L"A\r\nB\\C\"D\tE\x00e9\xd83d\xde00", 14) + std::wstring(1, L'\0') + L"end";
  c.properties.push_back({L"LeftList", s});
  FormValue i2 = make(K::Integer);
  i2.integer = -32768;
  c.properties.push_back({L"BorderStyle", i2});
  FormValue i4 = make(K::Long);
  i4.integer = static_cast<int32_t>(0x8000000F);
  c.properties.push_back({L"BackColor", i4});
  FormValue r4 = make(K::Single);
  r4.real = 0.1f;
  c.properties.push_back({L"Ratio", r4});
  FormValue r8 = make(K::Double);
  r8.real = 1.0 / 3.0;
  c.properties.push_back({L"Third", r8});
  FormValue cy = make(K::Currency);
  cy.integer = -123456789;
  c.properties.push_back({L"Money", cy});
  FormValue b = make(K::Boolean);
  b.boolean = true;
  c.properties.push_back({L"ShowTitles", b});
  FormValue bytes = make(K::Bytes);
  bytes.bytes = {0x00, 0xFF, 0x10};
  c.properties.push_back({L"Blob", bytes});
  c.properties.push_back({L"Nothing", make(K::Empty)});
  c.properties.push_back({L"Nil", make(K::Null)});
  FormValue font = make(K::Font);
  font.font = {L"Courier New", 123456, 700, 0, true, false, true};
  c.properties.push_back({L"Font", font});
  FormValue bitmap = make(K::Picture);
  bitmap.integer = 1;
  bitmap.bytes = qs::test::tiny_bitmap();
  c.properties.push_back({L"PictureUp", bitmap});
  FormValue icon = make(K::Picture);
  icon.integer = 3;
  icon.bytes = qs::test::tiny_icon();
  c.properties.push_back({L"SysIcon", icon});
  c.properties.push_back({L"PictureDown", make(K::Picture)});
  c.properties.push_back({L"MsgBoxPicture", make(K::Nothing)});
  FormValue odd = make(K::String);
  odd.text = L"x";
  c.properties.push_back({L"key with = and space", odd});
  form.controls.push_back(c);
  FormControl second = c;
  second.name = L"AddRemove2";
  second.properties.clear();
  form.controls.push_back(second);
  return form;
}

}  // namespace

TEST(FormFile, EveryValueKindAndCharacterRoundTrips) {
  Form form = sample_form();
  std::string text = write_form(form);
  for (unsigned char ch : text) EXPECT_TRUE(ch == '\n' || (ch >= 0x20 && ch < 0x7F)) << "byte " << int(ch);
  Form back = parse_form(text);
  EXPECT_EQ(back, form);
  EXPECT_EQ(write_form(back), text);
}

TEST(FormFile, FormatIsReadableAndAcceptsCommentsAndCrLf) {
  EXPECT_EQ(quote_string(L"a\r\nb\"\\"), "\"a\\r\\nb\\\"\\\\\"");
  FormValue font = make(FormValue::Kind::Font);
  font.font.name = L"Tahoma";
  font.font.size_cy = 97500;
  EXPECT_EQ(format_value(font),
            "Font Name=\"Tahoma\" Size=9.7500 Weight=400 Charset=0 Italic=False Underline=False "
            "Strikethrough=False");
  Form f = parse_form(
      "' a comment\r\n\r\nForm \"T\" 10 20\r\nBegin X.Y Ctl 1 2 3 4\r\n  ' inside\r\n"
      "  Size = Currency 8.25\r\n  End = Long 3\r\nEnd\r\n");
  ASSERT_EQ(f.controls.size(), 1u);
  EXPECT_EQ(f.caption, L"T");
  EXPECT_EQ(f.controls[0].prog_id, L"X.Y");
  EXPECT_EQ(f.controls[0].height, 4);
  ASSERT_EQ(f.controls[0].properties.size(), 2u);
  EXPECT_EQ(f.controls[0].properties[0].value.integer, 82500);
  EXPECT_EQ(f.controls[0].properties[1].key, L"End");
}

TEST(FormFile, MalformedInputIsRejectedWithItsLine) {
  auto error_of = [](const std::string& text) -> std::string {
    try {
      parse_form(text);
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "";
  };
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = String \"open\nEnd\n").find("line 2"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = Integer 40000\nEnd\n").find("bad integer"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = Widget 1\nEnd\n").find("unknown value type"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = Bytes 0G\nEnd\n").find("hex"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n").find("no End"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\nEnd\nBegin A B 0 0 1 1\nEnd\n").find("duplicate"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = Long 1 2\nEnd\n").find("unexpected"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = String \"\\q\"\nEnd\n").find("escape"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = Currency 1.23456\nEnd\n").find("four decimals"), std::string::npos);
  EXPECT_NE(error_of("Stray line\n").find("line 1"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = Picture Metafile 00\nEnd\n").find("picture type"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = Picture Bitmap\nEnd\n").find("without data"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = Picture None 00\nEnd\n").find("unexpected"), std::string::npos);
  EXPECT_NE(error_of("Begin A B 0 0 1 1\n  K = Picture Icon 0\nEnd\n").find("hex"), std::string::npos);
}

class PropertyBagTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(PropertyBagTest, WritesAndReadsVariantsWithRequestedTypes) {
  std::vector<FormProperty> props;
  auto* bag = new FormPropertyBag(props);
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(L"Apples\r\nPears");
  EXPECT_EQ(bag->Write(L"LeftList", &v), S_OK);
  VariantClear(&v);
  v.vt = VT_I2;
  v.iVal = 1;
  EXPECT_EQ(bag->Write(L"Orientation", &v), S_OK);
  v.iVal = 0;
  EXPECT_EQ(bag->Write(L"Orientation", &v), S_OK);  // replaces, keeps one entry
  ASSERT_EQ(props.size(), 2u);
  EXPECT_EQ(props[0].value.text, L"Apples\r\nPears");
  EXPECT_EQ(props[1].value.kind, FormValue::Kind::Integer);
  EXPECT_EQ(props[1].value.integer, 0);

  VARIANT out;
  VariantInit(&out);
  EXPECT_EQ(bag->Read(L"LeftList", &out, nullptr), S_OK);
  ASSERT_EQ(out.vt, VT_BSTR);
  EXPECT_EQ(std::wstring(out.bstrVal, SysStringLen(out.bstrVal)), L"Apples\r\nPears");
  VariantClear(&out);
  out.vt = VT_I4;  // the caller asks for a type of its own
  EXPECT_EQ(bag->Read(L"Orientation", &out, nullptr), S_OK);
  EXPECT_EQ(out.vt, VT_I4);
  EXPECT_EQ(out.lVal, 0);
  VariantClear(&out);
  EXPECT_EQ(bag->Read(L"Missing", &out, nullptr), E_INVALIDARG);
  out.vt = VT_I4;
  EXPECT_TRUE(FAILED(bag->Read(L"LeftList", &out, nullptr)));
  bag->Release();
}

TEST_F(PropertyBagTest, FontObjectsTravelAsAttributesAndComeBackAsFonts) {
  std::vector<FormProperty> props;
  auto* bag = new FormPropertyBag(props);
  FontDesc desc{L"Courier New", 120000, 700, 0, true, true, false};
  ComPtr<IFontDisp> font;
  ASSERT_EQ(create_font(desc, &font), S_OK);
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = font.Get();
  EXPECT_EQ(bag->Write(L"Font", &v), S_OK);
  ASSERT_EQ(props.size(), 1u);
  EXPECT_EQ(props[0].value.kind, FormValue::Kind::Font);
  // Wine's font object reports the face it realised, which may differ from
  // the name asked for when that font is not installed.
  FontDesc realised;
  ASSERT_EQ(describe_font(font.Get(), &realised), S_OK);
  EXPECT_EQ(props[0].value.font, realised);
  EXPECT_EQ(realised.size_cy, desc.size_cy);
  EXPECT_EQ(realised.weight, desc.weight);
  EXPECT_TRUE(realised.italic && realised.underline && !realised.strikethrough);

  // Through the text form and back into a new bag.
  Form form;
  form.controls.push_back({L"A.B", L"C", 0, 0, 1, 1, props});
  Form back = parse_form(write_form(form));
  auto* bag2 = new FormPropertyBag(back.controls[0].properties);
  VARIANT out;
  VariantInit(&out);
  out.vt = VT_DISPATCH;
  ASSERT_EQ(bag2->Read(L"Font", &out, nullptr), S_OK);
  ASSERT_EQ(out.vt, VT_DISPATCH);
  FontDesc again;
  EXPECT_EQ(describe_font(out.pdispVal, &again), S_OK);
  EXPECT_EQ(again, realised);
  VariantClear(&out);
  bag2->Release();
  bag->Release();
}

// A picture object written to the form's bag is kept as its file and comes
// back, through the text form, as a picture object that saves the same file;
// an empty picture object comes back as an empty picture object, and no
// object at all stays no object.
TEST_F(PropertyBagTest, PicturesTravelAsTheirFilesAndComeBackAsPictures) {
  using K = FormValue::Kind;
  const struct {
    const char* what;
    K kind;
    std::vector<uint8_t> file;  // empty: the empty picture object
    SHORT type;
  } cases[] = {
      {"bitmap", K::Picture, qs::test::tiny_bitmap(), PICTYPE_BITMAP},
      {"icon", K::Picture, qs::test::tiny_icon(), PICTYPE_ICON},
      {"empty picture", K::Picture, {}, PICTYPE_NONE},
      {"no object", K::Nothing, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ComPtr<IPictureDisp> picture;
    if (c.kind == K::Nothing) {
      // No picture: a null dispatch pointer.
    } else if (c.file.empty()) {
      PICTDESC desc{};
      desc.cbSizeofstruct = sizeof desc;
      desc.picType = PICTYPE_NONE;
      ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, &picture), S_OK);
    } else {
      ComPtr<IStream> stream;
      ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
      stream->Write(c.file.data(), ULONG(c.file.size()), nullptr);
      stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
      ASSERT_EQ(OleLoadPicture(stream.Get(), LONG(c.file.size()), FALSE, IID_IPictureDisp, &picture), S_OK);
    }
    std::vector<FormProperty> props;
    auto* bag = new FormPropertyBag(props);
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = picture.Get();
    EXPECT_EQ(bag->Write(L"Pic", &v), S_OK);
    ASSERT_EQ(props.size(), 1u);
    EXPECT_EQ(props[0].value.kind, c.kind);
    if (c.kind == K::Picture) {
      EXPECT_EQ(props[0].value.integer, c.type);
      EXPECT_EQ(props[0].value.bytes, c.file) << "the picture file, byte for byte";
    }

    Form form;
    form.controls.push_back({L"A.B", L"C", 0, 0, 1, 1, props});
    Form back = parse_form(write_form(form));
    auto* bag2 = new FormPropertyBag(back.controls[0].properties);
    VARIANT out;
    VariantInit(&out);
    ASSERT_EQ(bag2->Read(L"Pic", &out, nullptr), S_OK);
    ASSERT_EQ(out.vt, VT_DISPATCH);
    if (c.kind == K::Nothing) {
      EXPECT_EQ(out.pdispVal, nullptr);
    } else {
      ComPtr<IPicture> again;
      ASSERT_EQ(out.pdispVal->QueryInterface(IID_PPV_ARGS(&again)), S_OK);
      SHORT type = -1;
      again->get_Type(&type);
      EXPECT_EQ(type, c.type);
    }
    // Saved once more, the value gives the same property (the same file).
    std::vector<FormProperty> resaved;
    auto* bag3 = new FormPropertyBag(resaved);
    EXPECT_EQ(bag3->Write(L"Pic", &out), S_OK);
    ASSERT_EQ(resaved.size(), 1u);
    EXPECT_EQ(resaved[0].value, props[0].value);
    VariantClear(&out);
    bag3->Release();
    bag2->Release();
    bag->Release();
  }
}
