// The control hosted by ProgID in our own container: in-place activation in
// a real window, save and load through the text form, logging of events and
// property changes, and ambient properties read through the site.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <set>

#include "container/container.h"
#include "container/control_site.h"
#include "container/form_property_bag.h"
#include "tests/hosts/host_probe.h"

using namespace qs::container;
using namespace qs::hosts;
using Microsoft::WRL::ComPtr;

namespace {

const wchar_t kProgId[] = L"QuorralSet.AddRemove";

class ContainerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    container_ = std::make_unique<Container>(test_stage());
  }
  void TearDown() override {
    container_.reset();
    OleUninitialize();
  }

  ControlSite& add(Container& container, const wchar_t* name, RECT rect = {10, 10, 410, 250}) {
    ControlSite& site = container.add_control(kProgId, name, rect);
    container.show();
    container.pump_messages();
    return site;
  }

  int count_lines(const Container& container, const std::wstring& prefix) {
    return static_cast<int>(std::count_if(container.log_lines().begin(), container.log_lines().end(),
                                          [&](const std::wstring& l) { return l.rfind(prefix, 0) == 0; }));
  }

  std::unique_ptr<Container> container_;
};

std::wstring temp_file(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

// The form a file holding this text reads as.
Form form_of_text(const wchar_t* name, const char* text) {
  const std::wstring path = temp_file(name);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  if (h != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(h, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(h);
  }
  Form form = read_form_file(path);
  DeleteFileW(path.c_str());
  return form;
}

// The form as it comes back from a file it was written to.
Form through_file(const wchar_t* name, const Form& form) {
  const std::wstring path = temp_file(name);
  write_form_file(path, form);
  Form read = read_form_file(path);
  DeleteFileW(path.c_str());
  return read;
}

// Loads the form into the container and shows it, settled.
void show_form(Container& container, const Form& form) {
  container.load_form(form);
  container.show();
  container.pump_messages();
}

// Each named property of the control reads back as the text given.
void expect_properties(IDispatch* control,
                       std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> expected) {
  ASSERT_NE(control, nullptr);
  for (const auto& [name, text] : expected) {
    VARIANT v = get_property(control, name);
    EXPECT_EQ(variant_text(v), text) << name;
    VariantClear(&v);
  }
}

FontDesc font_of(IDispatch* control) {
  VARIANT font = get_property(control, L"Font");
  FontDesc desc;
  EXPECT_EQ(font.vt, VT_DISPATCH);
  if (font.vt == VT_DISPATCH && font.pdispVal) {
    EXPECT_EQ(describe_font(font.pdispVal, &desc), S_OK);
  }
  VariantClear(&font);
  return desc;
}

}  // namespace

TEST_F(ContainerTest, ActivatesInPlaceWithListsAndButtonsInARealWindow) {
  ControlSite& site = add(*container_, L"AddRemove1");
  HWND control = site.control_window();
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(IsWindow(control));
  EXPECT_TRUE(IsWindowVisible(control));
  EXPECT_TRUE(IsChild(container_->window(), control));
  RECT r = rect_in(control, container_->window());
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 240);

  EXPECT_EQ(descendants_of_class(control, L"ListBox").size(), 2u);
  std::vector<HWND> buttons = descendants_of_class(control, L"Button");
  std::multiset<std::wstring> captions;
  for (HWND b : buttons) {
    captions.insert(window_text(b));
    EXPECT_TRUE(IsWindowVisible(b));
  }
  EXPECT_EQ(captions, (std::multiset<std::wstring>{L"<", L"<<", L">", L">>"}));
}

TEST_F(ContainerTest, MovingTheControlLaysItOutAgain) {
  ControlSite& site = add(*container_, L"AddRemove1");
  std::vector<HWND> lists = lists_left_to_right(site.control_window());
  ASSERT_EQ(lists.size(), 2u);
  RECT before = rect_in(lists[0], site.control_window());
  container_->move_control(L"AddRemove1", RECT{20, 30, 620, 330});
  container_->pump_messages();
  RECT moved = rect_in(site.control_window(), container_->window());
  EXPECT_EQ(moved.left, 20);
  EXPECT_EQ(moved.top, 30);
  EXPECT_EQ(moved.right - moved.left, 600);
  RECT after = rect_in(lists[0], site.control_window());
  EXPECT_GT(after.right - after.left, before.right - before.left + 90);
  EXPECT_GT(after.bottom - after.top, before.bottom - before.top + 40);
}

TEST_F(ContainerTest, SavedTextFormRestoresTheSameValuesInANewContainer) {
  ControlSite& site = add(*container_, L"AddRemove1");
  IDispatch* control = site.dispatch();
  ASSERT_NE(control, nullptr);
  VARIANT v = text_variant(L"Apples\r\nPears\r\nPl\"u\\ms \x00e9");
  EXPECT_EQ(put_property(control, L"LeftList", v), S_OK);
  VariantClear(&v);
  v = text_variant(L"Cherries");
  EXPECT_EQ(put_property(control, L"RightList", v), S_OK);
  VariantClear(&v);
  v = text_variant(L"Available");
  EXPECT_EQ(put_property(control, L"LTitle", v), S_OK);
  VariantClear(&v);
  v = text_variant(L"Chosen");
  EXPECT_EQ(put_property(control, L"RTitle", v), S_OK);
  VariantClear(&v);
  v.vt = VT_I4;
  v.lVal = 1;
  EXPECT_EQ(put_property(control, L"Orientation", v), S_OK);
  // 12 points is a whole number of pixels at 96 dpi, so the realised size is exact.
  FontDesc wanted{L"Tahoma", 120000, 700, 0, true, false, false};
  ComPtr<IFontDisp> font;
  ASSERT_EQ(create_font(wanted, &font), S_OK);
  v.vt = VT_DISPATCH;
  v.pdispVal = font.Get();
  EXPECT_EQ(put_property(control, L"Font", v, true), S_OK);
  FontDesc before = font_of(control);
  EXPECT_EQ(before.size_cy, 120000);

  std::wstring path = temp_file(L"qs_container_test.qsform");
  write_form_file(path, container_->save_form());
  Form form = read_form_file(path);
  DeleteFileW(path.c_str());
  ASSERT_EQ(form.controls.size(), 1u);
  EXPECT_EQ(form.controls[0].prog_id, kProgId);
  EXPECT_EQ(form.controls[0].width, 400);

  Container again(test_stage());
  again.load_form(form);
  again.show();
  again.pump_messages();
  ControlSite* restored = again.find(L"AddRemove1");
  ASSERT_NE(restored, nullptr);
  IDispatch* copy = restored->dispatch();
  VARIANT left = get_property(copy, L"LeftList");
  EXPECT_EQ(variant_text(left), L"Apples\r\nPears\r\nPl\"u\\ms \x00e9");
  VariantClear(&left);
  VARIANT ltitle = get_property(copy, L"LTitle"), rtitle = get_property(copy, L"RTitle");
  EXPECT_EQ(variant_text(ltitle), L"Available");
  EXPECT_EQ(variant_text(rtitle), L"Chosen");
  VariantClear(&ltitle);
  VariantClear(&rtitle);
  VARIANT orientation = get_property(copy, L"Orientation");
  EXPECT_EQ(variant_text(orientation), L"1");
  FontDesc after = font_of(copy);
  EXPECT_EQ(after.name, before.name);
  EXPECT_EQ(after.size_cy, before.size_cy);
  EXPECT_EQ(after.weight, 700);
  EXPECT_TRUE(after.italic);

  std::vector<HWND> lists = lists_left_to_right(restored->control_window());
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(list_items(lists[0]), (std::vector<std::wstring>{L"Apples", L"Pears", L"Pl\"u\\ms \x00e9"}));
  EXPECT_EQ(list_items(lists[1]), (std::vector<std::wstring>{L"Cherries"}));
}

TEST_F(ContainerTest, StreamPersistenceRestoresTheSameStateAsTheBag) {
  ControlSite& site = add(*container_, L"AddRemove1");
  VARIANT v = text_variant(L"One\r\nTwo");
  EXPECT_EQ(put_property(site.dispatch(), L"LeftList", v), S_OK);
  VariantClear(&v);
  v = text_variant(L"Picked");
  EXPECT_EQ(put_property(site.dispatch(), L"RTitle", v), S_OK);
  VariantClear(&v);
  container_->set_save_as_stream(true);
  Form form = parse_form(write_form(container_->save_form()));
  ASSERT_EQ(form.controls.size(), 1u);
  ASSERT_EQ(form.controls[0].properties.size(), 1u);
  EXPECT_EQ(form.controls[0].properties[0].key, kStreamKey);

  Container again(test_stage());
  again.load_form(form);
  ControlSite* restored = again.find(L"AddRemove1");
  ASSERT_NE(restored, nullptr);
  VARIANT left = get_property(restored->dispatch(), L"LeftList");
  VARIANT title = get_property(restored->dispatch(), L"RTitle");
  EXPECT_EQ(variant_text(left), L"One\r\nTwo");
  EXPECT_EQ(variant_text(title), L"Picked");
  VariantClear(&left);
  VariantClear(&title);
}

TEST_F(ContainerTest, LogsPropertyChangesAndEventsFromRealMessages) {
  ControlSite& site = add(*container_, L"AddRemove1");
  container_->clear_log();
  VARIANT v = text_variant(L"Apples\r\nPears");
  EXPECT_EQ(put_property(site.dispatch(), L"LeftList", v), S_OK);
  VariantClear(&v);
  EXPECT_EQ(count_lines(*container_, L"changed "), 1);
  EXPECT_EQ(count_lines(*container_, L"changed AddRemove1.LeftList dispid "), 1);
  EXPECT_EQ(count_lines(*container_, L"event "), 0);

  HWND control = site.control_window();
  std::vector<HWND> lists = lists_left_to_right(control);
  ASSERT_EQ(lists.size(), 2u);
  HWND remove = find_button(control, L">");
  ASSERT_NE(remove, nullptr);
  EXPECT_FALSE(IsWindowEnabled(remove));
  click_list_item(lists[0], 1);
  container_->pump_messages();
  EXPECT_TRUE(IsWindowEnabled(remove));
  container_->clear_log();
  SendMessageW(remove, BM_CLICK, 0, 0);
  container_->pump_messages();
  EXPECT_EQ(container_->log_lines(), (std::vector<std::wstring>{L"event AddRemove1.Change"}));
  EXPECT_EQ(list_items(lists[0]), (std::vector<std::wstring>{L"Apples"}));
  // The right list still holds a new instance's text; moved items go last.
  EXPECT_EQ(list_items(lists[1]), (std::vector<std::wstring>{L"Rightlist", L"Pears"}));

  // After closing, the control's events reach nobody.
  container_->close_controls();
  EXPECT_FALSE(IsWindow(control));
}

TEST_F(ContainerTest, AmbientPropertiesFlowThroughTheSite) {
  container_->set_design_mode(true);
  container_->set_ambient_font(FontDesc{L"Tahoma", 120000, 400, 0, false, false, false});
  ControlSite& site = add(*container_, L"AddRemove1");
  // A new control takes the ambient font, which it can only get from the site.
  EXPECT_EQ(font_of(site.dispatch()).size_cy, 120000);
  const std::vector<DISPID>& reads = site.ambient_reads();
  EXPECT_NE(std::find(reads.begin(), reads.end(), DISPID_AMBIENT_FONT), reads.end());

  ComPtr<IOleClientSite> client_site;
  ASSERT_EQ(site.object()->GetClientSite(&client_site), S_OK);
  ComPtr<IDispatch> ambient;
  ASSERT_EQ(client_site.As(&ambient), S_OK);
  auto ambient_value = [&](DISPID id) {
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(ambient->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
    return result;
  };
  VARIANT user_mode = ambient_value(DISPID_AMBIENT_USERMODE);
  EXPECT_EQ(user_mode.vt, VT_BOOL);
  EXPECT_EQ(user_mode.boolVal, VARIANT_FALSE);
  container_->set_design_mode(false);
  user_mode = ambient_value(DISPID_AMBIENT_USERMODE);
  EXPECT_EQ(user_mode.boolVal, VARIANT_TRUE);
  VARIANT name = ambient_value(DISPID_AMBIENT_DISPLAYNAME);
  EXPECT_EQ(variant_text(name), L"AddRemove1");
  VariantClear(&name);
  VARIANT back = ambient_value(DISPID_AMBIENT_BACKCOLOR);
  EXPECT_EQ(back.lVal, static_cast<LONG>(0x8000000F));
  VARIANT unknown;
  VariantInit(&unknown);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(ambient->Invoke(12345, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &unknown, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
}

TEST_F(ContainerTest, UnknownProgIdFailsWithoutLeavingAControl) {
  EXPECT_THROW(container_->add_control(L"QuorralSet.NoSuchControl", L"X", RECT{0, 0, 10, 10}),
               std::runtime_error);
  EXPECT_TRUE(container_->controls().empty());
  Form form = parse_form("Begin QuorralSet.NoSuchControl X 0 0 10 10\nEnd\n");
  EXPECT_THROW(container_->load_form(form), std::runtime_error);
  EXPECT_TRUE(container_->controls().empty());
}

// A class registered only under the current user's classes is created even
// where the platform's lookup sees machine-wide registrations only.
TEST_F(ContainerTest, CreatesAClassRegisteredForTheCurrentUserOnly) {
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring server(module);
  server = server.substr(0, server.find_last_of(L'\\') + 1) + L"QuorralSet.ocx";
  CLSID clsid;
  ASSERT_TRUE(SUCCEEDED(CLSIDFromProgID(kProgId, &clsid)));
  wchar_t clsid_text[64];
  StringFromGUID2(clsid, clsid_text, 64);

  const std::wstring prog_key = L"Software\\Classes\\QsTest.UserOnlyAddRemove";
  const std::wstring server_key = L"Software\\Classes\\CLSID\\" + std::wstring(clsid_text) + L"\\InprocServer32";
  auto set = [](const std::wstring& key, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  };
  ASSERT_EQ(set(prog_key + L"\\CLSID", clsid_text), ERROR_SUCCESS);
  HKEY existing = nullptr;
  const bool had_server_key =
      RegOpenKeyExW(HKEY_CURRENT_USER, server_key.c_str(), 0, KEY_READ, &existing) == ERROR_SUCCESS;
  if (existing) RegCloseKey(existing);
  if (!had_server_key) {
    ASSERT_EQ(set(server_key, server), ERROR_SUCCESS);
  }

  ControlSite& site = container_->add_control(L"QsTest.UserOnlyAddRemove", L"UserOnly", RECT{0, 0, 300, 200});
  ComPtr<IDispatch> control = site.dispatch();
  ASSERT_TRUE(control);
  DISPID id = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"LeftList");
  EXPECT_EQ(control->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);

  RegDeleteTreeW(HKEY_CURRENT_USER, prog_key.c_str());
  if (!had_server_key)
    RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\CLSID\\" + std::wstring(clsid_text)).c_str());
}

TEST_F(ContainerTest, QCheckAndQLabelRoundTripThroughTheTextForm) {
  ControlSite& check = container_->add_control(L"QuorralSet.qCheck", L"qCheck1", RECT{10, 10, 142, 34});
  ControlSite& label = container_->add_control(L"QuorralSet.qLabel", L"qLabel1", RECT{10, 40, 200, 70});
  container_->show();
  container_->pump_messages();
  struct Assignment {
    ControlSite* site;
    const wchar_t* name;
    VARIANT value;
  };
  auto i2 = [](short n) { VARIANT v; VariantInit(&v); v.vt = VT_I2; v.iVal = n; return v; };
  auto i4 = [](LONG n) { VARIANT v; VariantInit(&v); v.vt = VT_I4; v.lVal = n; return v; };
  Assignment set[] = {
      {&check, L"CheckType", i4(1)},
      {&check, L"Value", i2(2)},
      {&check, L"Caption", text_variant(L"Three states")},
      {&check, L"Alignment", i4(1)},
      {&check, L"CheckColor", i4(0x0000FF)},
      {&label, L"Shadow", i2(-3)},
      {&label, L"Caption", text_variant(L"Shadowed")},
      {&label, L"ShadowColor", i4(0x00FF00)},
  };
  for (Assignment& a : set) {
    EXPECT_EQ(put_property(a.site->dispatch(), a.name, a.value), S_OK) << a.name;
    VariantClear(&a.value);
  }
  Form form = through_file(L"qs_container_qcheck_qlabel.qsform", container_->save_form());
  ASSERT_EQ(form.controls.size(), 2u);

  Container again(test_stage());
  show_form(again, form);
  expect_properties(again.find(L"qCheck1")->dispatch(),
                    {{L"CheckType", L"1"}, {L"Value", L"2"}, {L"Caption", L"Three states"},
                     {L"Alignment", L"1"}, {L"CheckColor", L"255"}});
  expect_properties(again.find(L"qLabel1")->dispatch(),
                    {{L"Shadow", L"-3"}, {L"Caption", L"Shadowed"}, {L"ShadowColor", L"65280"}});
}

TEST_F(ContainerTest, ADirtextFormWithAChosenPathShowsItSelected) {
  Form form = form_of_text(L"qs_container_dirtext.qsform",
                           "Form \"Dirtext\" 420 60\r\n"
                           "Begin QuorralSet.Dirtext Dirtext1 10 10 400 24\r\n"
                           "  List0 = String \"C:\\\\data\\\\chosen.txt\"\r\n"
                           "  ListIndex = Integer 0\r\n"
                           "End\r\n");
  ASSERT_EQ(form.controls.size(), 1u);
  show_form(*container_, form);
  expect_properties(container_->find(L"Dirtext1")->dispatch(),
                    {{L"Text", L"C:\\data\\chosen.txt"}});
  // Saved again, the form holds the same path.
  Form again = through_file(L"qs_container_dirtext_again.qsform", container_->save_form());
  ASSERT_EQ(again.controls.size(), 1u);
  Container second(test_stage());
  show_form(second, again);
  expect_properties(second.find(L"Dirtext1")->dispatch(), {{L"Text", L"C:\\data\\chosen.txt"}});
}

TEST_F(ContainerTest, AShapeButtonFormKeepsItsOutlineStyleAndLatchedValue) {
  Form form = form_of_text(L"qs_container_shapebutton.qsform",
                           "Form \"Shapes\" 220 100\r\n"
                           "Begin QuorralSet.ShapeButton ShapeButton1 10 10 119 103\r\n"
                           "  ButtonShape = Long 6\r\n"
                           "  Style = Long 1\r\n"
                           "  Caption = String \"Latch\"\r\n"
                           "  Value = Boolean True\r\n"
                           "  PictureUp = Picture None\r\n"
                           "End\r\n");
  ASSERT_EQ(form.controls.size(), 1u);
  show_form(*container_, form);
  expect_properties(container_->find(L"ShapeButton1")->dispatch(),
                    {{L"ButtonShape", L"6"}, {L"Style", L"1"}, {L"Caption", L"Latch"},
                     {L"Value", L"-1"}, {L"Alignment", L"0"}, {L"BevelWidth", L"2"}});
  // The control's window is cut to the star: its region leaves out the corners.
  HWND window = container_->find(L"ShapeButton1")->control_window();
  ASSERT_NE(window, nullptr);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(window, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 1, 1));
  EXPECT_TRUE(PtInRegion(region, 60, 50));
  DeleteObject(region);
  // Saved again and read back from its file, the form holds the same values.
  Form again = through_file(L"qs_container_shapebutton_again.qsform", container_->save_form());
  ASSERT_EQ(again.controls.size(), 1u);
  Container second(test_stage());
  show_form(second, again);
  expect_properties(second.find(L"ShapeButton1")->dispatch(),
                    {{L"ButtonShape", L"6"}, {L"Style", L"1"}, {L"Value", L"-1"}});
}

TEST_F(ContainerTest, AQuorralFormKeepsItsTipIntervalAndIconThroughSaveAndLoad) {
  Form form = form_of_text(L"qs_container_quorral.qsform",
                           "Form \"Tray\" 200 80\r\n"
                           "Begin QuorralSet.Quorral Quorral1 10 10 120 60\r\n"
                           "  SysToolTip = String \"From the form\"\r\n"
                           "  MouseSensitivity = Long 250\r\n"
                           "End\r\n");
  ASSERT_EQ(form.controls.size(), 1u);
  show_form(*container_, form);
  IDispatch* d = container_->find(L"Quorral1")->dispatch();
  VARIANT tip = get_property(d, L"SysToolTip");
  EXPECT_EQ(variant_text(tip), L"From the form");
  VariantClear(&tip);
  VARIANT interval = get_property(d, L"MouseSensitivity");
  EXPECT_EQ(interval.vt, VT_I4);
  EXPECT_EQ(interval.lVal, 250);
  // A form without "SysIcon" restores no icon.
  VARIANT icon = get_property(d, L"SysIcon");
  EXPECT_TRUE(icon.vt == VT_EMPTY || (icon.vt == VT_DISPATCH && icon.pdispVal == nullptr));
  VariantClear(&icon);

  Form again = through_file(L"qs_container_quorral_again.qsform", container_->save_form());
  ASSERT_EQ(again.controls.size(), 1u);
  Container second(test_stage());
  show_form(second, again);
  IDispatch* d2 = second.find(L"Quorral1")->dispatch();
  expect_properties(d2, {{L"SysToolTip", L"From the form"}});
  VARIANT interval2 = get_property(d2, L"MouseSensitivity");
  EXPECT_EQ(interval2.lVal, 250);
  VariantClear(&interval2);
}
