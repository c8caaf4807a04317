#include <gtest/gtest.h>

#include "tests/activex/addremove_client.h"

namespace qs::test {
namespace {

const auto* const ole_environment = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

}  // namespace

const ClassInfo& addremove_info() { return *find_class(u"AddRemove"); }

ComPtr<_AddRemove> create_addremove() {
  ComPtr<_AddRemove> c;
  CLSID clsid = GUID_NULL;
  if (FAILED(CLSIDFromProgID(L"QuorralSet.AddRemove", &clsid))) return c;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, guid(addremove_info().default_iid),
                   reinterpret_cast<void**>(c.GetAddressOf()));
  return c;
}

ComPtr<_AddRemove> new_addremove() {
  ComPtr<_AddRemove> c = create_addremove();
  ComPtr<IPersistStreamInit> persist;
  if (c && SUCCEEDED(c.As(&persist))) persist->InitNew();
  return c;
}

namespace {

template <class T, class Get>
std::vector<T> read_all(Get get) {
  std::vector<T> out;
  for (short i = 0; i < 1000; ++i) {
    T value{};
    if (FAILED(get(i, &value))) break;
    out.push_back(value);
  }
  return out;
}

std::vector<std::wstring> texts(_AddRemove* c, bool left) {
  std::vector<std::wstring> out;
  for (short i = 0; i < 1000; ++i) {
    BSTR b = nullptr;
    HRESULT hr = left ? c->get_Llist(i, &b) : c->get_RList(i, &b);
    if (FAILED(hr)) break;
    out.emplace_back(b ? b : L"");
    SysFreeString(b);
  }
  return out;
}

}  // namespace

std::vector<std::wstring> left_items(_AddRemove* c) { return texts(c, true); }
std::vector<std::wstring> right_items(_AddRemove* c) { return texts(c, false); }
std::vector<LONG> left_data(_AddRemove* c) {
  return read_all<LONG>([&](short i, LONG* v) { return c->get_LItemData(i, v); });
}
std::vector<LONG> right_data(_AddRemove* c) {
  return read_all<LONG>([&](short i, LONG* v) { return c->get_RItemData(i, v); });
}

std::wstring variant_text(const VARIANT& v) {
  VARIANT text;
  VariantInit(&text);
  std::wstring out = std::to_wstring(V_VT(&v)) + L":";
  if (SUCCEEDED(VariantChangeType(&text, const_cast<VARIANT*>(&v), 0, VT_BSTR))) {
    out += V_BSTR(&text) ? V_BSTR(&text) : L"";
    VariantClear(&text);
  }
  return out;
}

AddRemoveState state_of(_AddRemove* c) {
  AddRemoveState s{};
  c->get_BackColor(&s.back_color);
  c->get_ForeColor(&s.fore_color);
  c->get_Enabled(&s.enabled);
  c->get_ShowTitles(&s.show_titles);
  IFontDisp* font_disp = nullptr;
  if (SUCCEEDED(c->get_Font(&font_disp)) && font_disp) {
    IFont* font = nullptr;
    font_disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font));
    BSTR name = nullptr;
    font->get_Name(&name);
    s.font_name = name ? name : L"";
    SysFreeString(name);
    CY size = {};
    font->get_Size(&size);
    s.font_size = size.int64;
    font->get_Bold(&s.font_bold);
    font->get_Italic(&s.font_italic);
    font->Release();
    font_disp->Release();
  }
  c->get_BackStyle(&s.back_style);
  c->get_BorderStyle(&s.border_style);
  qrOrientation o = qrLeftToRight;
  c->get_Orientation(&o);
  s.orientation = o;
  BSTR b = nullptr;
  c->get_LTitle(&b);
  s.ltitle = b ? b : L"";
  SysFreeString(b);
  b = nullptr;
  c->get_RTitle(&b);
  s.rtitle = b ? b : L"";
  SysFreeString(b);
  s.left = left_items(c);
  s.right = right_items(c);
  s.left_data = left_data(c);
  s.right_data = right_data(c);
  VARIANT v;
  VariantInit(&v);
  c->get_LeftList(&v);
  s.left_list = variant_text(v);
  VariantClear(&v);
  c->get_RightList(&v);
  s.right_list = variant_text(v);
  VariantClear(&v);
  c->get_LeftListItemData(&v);
  s.left_item_data = variant_text(v);
  VariantClear(&v);
  c->get_RightListItemData(&v);
  s.right_item_data = variant_text(v);
  VariantClear(&v);
  return s;
}

std::pair<std::wstring, LONGLONG> realised(const wchar_t* face, LONGLONG size, bool bold) {
  FONTDESC fd = {sizeof(FONTDESC), const_cast<LPOLESTR>(face), {}, SHORT(bold ? FW_BOLD : FW_NORMAL),
                 DEFAULT_CHARSET, FALSE, FALSE, FALSE};
  fd.cySize.int64 = size;
  ComPtr<IFont> font;
  OleCreateFontIndirect(&fd, IID_IFont, reinterpret_cast<void**>(font.GetAddressOf()));
  BSTR name = nullptr;
  font->get_Name(&name);
  std::wstring out = name ? name : L"";
  SysFreeString(name);
  CY cy = {};
  font->get_Size(&cy);
  return {out, cy.int64};
}

void fill(_AddRemove* c) {
  VARIANT missing;
  VariantInit(&missing);
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  for (const wchar_t* item : {L"Red", L"Green", L"", L"Blue"}) {
    BSTR b = SysAllocString(item);
    c->LAddItem(b, missing);
    SysFreeString(b);
  }
  for (const wchar_t* item : {L"X", L"Y"}) {
    BSTR b = SysAllocString(item);
    c->RAddItem(b, missing);
    SysFreeString(b);
  }
  c->put_LItemData(0, 5);
  c->put_LItemData(1, -2);
  c->put_RItemData(1, 70000);
  c->put_BackColor(RGB(10, 20, 30));
  c->put_ForeColor(0x80000008);
  c->put_Enabled(VARIANT_FALSE);
  c->put_BackStyle(1);
  c->put_BorderStyle(1);
  c->put_Orientation(qrRightToLeft);
  c->put_ShowTitles(VARIANT_FALSE);
  BSTR t = SysAllocString(L"Chosen");
  c->put_LTitle(t);
  SysFreeString(t);
  t = SysAllocString(L"Available");
  c->put_RTitle(t);
  SysFreeString(t);
  FONTDESC fd = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Tahoma"), {}, FW_BOLD,
                 DEFAULT_CHARSET, TRUE, FALSE, FALSE};
  fd.cySize.int64 = 120000;
  IFontDisp* font = nullptr;
  OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font));
  c->putref_Font(font);
  font->Release();
}

}  // namespace qs::test
