// regsvr32 on QuorralSet.ocx: machine-wide and per-user registration write
// every key of the published classes and the type library, and
// unregistration removes all of it. Leaves the server registered for the
// current user, for the tests and scripts that follow.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/class_list.h"
#include "tests/activex/com_test_support.h"

namespace qs::test {
namespace {

// The type library's path is registered under the platform it was built for.
#ifdef _WIN64
const std::wstring kTypeLibPlatformKey = L"\\0\\win64";
#else
const std::wstring kTypeLibPlatformKey = L"\\0\\win32";
#endif

std::wstring classes(const std::wstring& key) { return L"Software\\Classes\\" + key; }

bool key_exists(HKEY root, const std::wstring& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

// The string value (name empty: the default value), or "<absent>".
std::wstring value(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  DWORD type = 0;
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return L"<absent>";
  LONG rc = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(h);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return L"<absent>";
  return buffer;
}

std::wstring lower(std::wstring s) {
  for (wchar_t& c : s) c = towlower(c);
  return s;
}

std::vector<const ClassInfo*> published() { return published_classes(); }

const std::vector<std::wstring>& all_keys() {
  static const std::vector<std::wstring> keys = [] {
    std::vector<std::wstring> k;
    for (const ClassInfo* c : published()) {
      k.push_back(classes(L"CLSID\\" + ascii_w(c->clsid)));
      k.push_back(classes(L"QuorralSet." + wide_w(c->name)));
      k.push_back(classes(L"QuorralSet." + wide_w(c->name) + L".1"));
      k.push_back(classes(L"Interface\\" + ascii_w(c->default_iid)));
    }
    k.push_back(classes(L"TypeLib\\" + ascii_w(kLibraryId)));
    return k;
  }();
  return keys;
}

void expect_class_keys(HKEY root, const ClassInfo& c) {
  const std::wstring key = classes(L"CLSID\\" + ascii_w(c.clsid));
  const std::wstring name = wide_w(c.name);
  const std::wstring path = lower(ocx_path());
  SCOPED_TRACE(name);
  EXPECT_EQ(value(root, key), name);
  EXPECT_EQ(lower(value(root, key + L"\\InprocServer32")), path);
  EXPECT_EQ(value(root, key + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(value(root, key + L"\\ProgID"), L"QuorralSet." + name + L".1");
  EXPECT_EQ(value(root, key + L"\\VersionIndependentProgID"), L"QuorralSet." + name);
  EXPECT_EQ(value(root, key + L"\\TypeLib"), ascii_w(kLibraryId));
  EXPECT_EQ(value(root, key + L"\\Version"), L"1.0");
  const bool control = c.kind == ClassKind::kControl;
  EXPECT_EQ(key_exists(root, key + L"\\Control"), control);
  EXPECT_EQ(key_exists(root, key + L"\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}"),
            control);
  if (control) {
    EXPECT_EQ(value(root, key + L"\\MiscStatus"), L"0");
    EXPECT_EQ(value(root, key + L"\\MiscStatus\\1"), std::to_wstring(c.misc_status));
    EXPECT_EQ(lower(value(root, key + L"\\ToolboxBitmap32")),
              path + L", " + std::to_wstring(c.toolbox_bitmap));
  }
  const std::wstring prog = classes(L"QuorralSet." + name);
  EXPECT_EQ(value(root, prog + L"\\CLSID"), ascii_w(c.clsid));
  EXPECT_EQ(value(root, prog + L"\\CurVer"), L"QuorralSet." + name + L".1");
  EXPECT_EQ(value(root, prog + L".1\\CLSID"), ascii_w(c.clsid));
  EXPECT_EQ(value(root, classes(L"Interface\\" + ascii_w(c.default_iid) + L"\\TypeLib")),
            ascii_w(kLibraryId));
}

void expect_registered(HKEY root) {
  // Six controls and two property pages, every one in the type library.
  EXPECT_EQ(published().size(), 8u);
  for (const ClassInfo* c : published()) expect_class_keys(root, *c);
  const std::wstring lib = classes(L"TypeLib\\" + ascii_w(kLibraryId) + L"\\1.0");
  EXPECT_EQ(lower(value(root, lib + kTypeLibPlatformKey)), lower(ocx_path()));
}

void expect_nothing_registered(HKEY root) {
  for (const std::wstring& key : all_keys()) EXPECT_FALSE(key_exists(root, key)) << key;
}

class Registration : public ::testing::Test {};

TEST_F(Registration, MachineRegistrationWritesEveryKeyAndUnregistrationRemovesThem) {
  ASSERT_EQ(regsvr32(L"/u"), 0);
  ASSERT_EQ(regsvr32(L"/u /n /i:user"), 0);
  expect_nothing_registered(HKEY_LOCAL_MACHINE);
  expect_nothing_registered(HKEY_CURRENT_USER);

  ASSERT_EQ(regsvr32(L""), 0);
  expect_registered(HKEY_LOCAL_MACHINE);
  expect_nothing_registered(HKEY_CURRENT_USER);

  ASSERT_EQ(regsvr32(L"/u"), 0);
  expect_nothing_registered(HKEY_LOCAL_MACHINE);
  // Unregistering what is not registered succeeds.
  EXPECT_EQ(regsvr32(L"/u"), 0);
}

TEST_F(Registration, PerUserRegistrationStaysInTheUsersClasses) {
  ASSERT_EQ(regsvr32(L"/n /i:user"), 0);
  expect_registered(HKEY_CURRENT_USER);
  expect_nothing_registered(HKEY_LOCAL_MACHINE);

  ASSERT_EQ(regsvr32(L"/u /n /i:user"), 0);
  expect_nothing_registered(HKEY_CURRENT_USER);
  expect_nothing_registered(HKEY_LOCAL_MACHINE);
}

TEST_F(Registration, ToolboxBitmapIsSixteenByFifteenWithAPalette) {
  HMODULE dll = LoadLibraryExW(ocx_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(dll, nullptr);
  HRSRC res = FindResourceW(dll, MAKEINTRESOURCEW(find_class(u"AddRemove")->toolbox_bitmap),
                            reinterpret_cast<LPCWSTR>(RT_BITMAP));
  ASSERT_NE(res, nullptr);
  auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(dll, res)));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->biWidth, 16);
  EXPECT_EQ(info->biHeight, 15);
  EXPECT_EQ(info->biBitCount, 8);
  EXPECT_EQ(info->biCompression, DWORD(BI_RGB));
  FreeLibrary(dll);
}

TEST_F(Registration, EveryControlHasItsToolboxBitmapQuorralsWith24BitsPerPixel) {
  HMODULE dll = LoadLibraryExW(ocx_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(dll, nullptr);
  for (const ClassInfo& c : class_list()) {
    if (c.kind != ClassKind::kControl) continue;
    HRSRC res = FindResourceW(dll, MAKEINTRESOURCEW(c.toolbox_bitmap), reinterpret_cast<LPCWSTR>(RT_BITMAP));
    if (!res) continue;  // a class the server does not publish yet
    auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(dll, res)));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->biWidth, 16) << c.toolbox_bitmap;
    EXPECT_EQ(info->biHeight, 15) << c.toolbox_bitmap;
    EXPECT_EQ(info->biBitCount, c.name == u"Quorral" ? 24 : 8) << c.toolbox_bitmap;
  }
  EXPECT_NE(FindResourceW(dll, MAKEINTRESOURCEW(find_class(u"Quorral")->toolbox_bitmap),
                          reinterpret_cast<LPCWSTR>(RT_BITMAP)), nullptr);
  // The built-in icon: one icon group.
  EXPECT_NE(FindResourceW(dll, MAKEINTRESOURCEW(101), reinterpret_cast<LPCWSTR>(RT_GROUP_ICON)), nullptr);
  FreeLibrary(dll);
}

// Runs last: the server stays registered for the current user, and a
// client finds it by ProgID. Wine's COM looks classes up in the machine's
// classes only (the user's are not merged in), so where the per-user
// registration is not visible the server is registered machine-wide too.
TEST_F(Registration, RegistersForTheTestsThatFollow) {
  ASSERT_EQ(regsvr32(L"/n /i:user"), 0);
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  CLSID clsid = GUID_NULL;
  if (FAILED(CLSIDFromProgID(L"QuorralSet.AddRemove", &clsid))) {
    ASSERT_EQ(regsvr32(L""), 0);
  }
  EXPECT_EQ(CLSIDFromProgID(L"QuorralSet.AddRemove", &clsid), S_OK);
  EXPECT_EQ(clsid, guid(find_class(u"AddRemove")->clsid));
  ITypeLib* lib = nullptr;
  EXPECT_EQ(LoadRegTypeLib(guid(kLibraryId), 1, 0, 0, &lib), S_OK);
  if (lib) lib->Release();
  CoUninitialize();
}

}  // namespace
}  // namespace qs::test
