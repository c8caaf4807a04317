// Dirtext's browse operation against the real GetOpenFileNameA: a second
// thread finds the dialog by its title, types a file name into it and
// confirms, or cancels it, as a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "controls/dirtext/dirtext.h"
#include "platform/win32/win32_platform.h"
#include "tests/support/recording_host.h"

namespace qs::win32 {
namespace {

// One thing the user does in the dialog: type a name and press OK, or cancel.
struct Step {
  std::string name;  // empty: cancel
};

// Finds the dialog titled `title` and plays the steps into it, waiting for
// the dialog to take each one.
void play(const std::wstring& title, std::vector<Step> steps, std::atomic<bool>& found) {
  HWND dialog = nullptr;
  for (int i = 0; i < 200 && dialog == nullptr; ++i) {
    dialog = FindWindowW(L"#32770", title.c_str());
    if (dialog == nullptr) Sleep(50);
  }
  if (dialog == nullptr) return;
  found = true;
  Sleep(300);
  for (const Step& s : steps) {
    if (s.name.empty()) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    // The dialog was opened through the ANSI call: it takes ANSI text.
    SendMessageA(dialog, CDM_SETCONTROLTEXT, 0x47c, reinterpret_cast<LPARAM>(s.name.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    Sleep(700);
  }
}

void make_file(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
}

class RealOpenFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(L"C:\\qsdirtext", nullptr);
    for (const wchar_t* f : {L"C:\\qsdirtext\\a.txt", L"C:\\qsdirtext\\b.txt",
                             L"C:\\qsdirtext_a.txt", L"C:\\qsdirtext_b.txt"}) {
      make_file(f);
    }
    Win32Platform::current().driver().on_open_file(nullptr);
    ctl = std::make_unique<Dirtext>(Win32Platform::current().create_surface(), host);
    ctl->InitProperties();
    for (const char16_t* old : {u"one", u"two", u"three", u"four", u"five"}) ctl->AddItem(old);
    ctl->set_Filter(u"Text files|*.txt|All files|*.*");
  }

  // Runs the browse with the steps played into the dialog; false if the
  // dialog never showed.
  bool browse(const std::u16string& title, std::vector<Step> steps) {
    ctl->set_Caption(Variant(title));
    std::atomic<bool> found{false};
    std::thread user(play, std::wstring(title.begin(), title.end()), std::move(steps), std::ref(found));
    ctl->ShowDlg();
    user.join();
    return found;
  }

  std::vector<std::u16string> entries() {
    std::vector<std::u16string> t;
    for (int16_t i = 0; i < ctl->ListCount(); ++i) t.push_back(ctl->List(i));
    return t;
  }

  test::RecordingHost host;
  std::unique_ptr<Dirtext> ctl;
};

TEST_F(RealOpenFileDialogTest, OneFile) {
  ASSERT_TRUE(browse(u"Dirtext single", {{"C:\\qsdirtext\\a.txt"}}));
  EXPECT_EQ(entries(), std::vector<std::u16string>{u"C:\\qsdirtext\\a.txt"});
  EXPECT_EQ(host.count(Dirtext::kFileSelectedEvent), 1);
}

TEST_F(RealOpenFileDialogTest, TwoFilesInAFolder) {
  ctl->set_MultiSelect(true);
  ASSERT_TRUE(browse(u"Dirtext folder", {{"C:\\qsdirtext"}, {"\"a.txt\" \"b.txt\""}}));
  EXPECT_EQ(entries(), (std::vector<std::u16string>{u"C:\\qsdirtext\\a.txt", u"C:\\qsdirtext\\b.txt"}));
  EXPECT_EQ(host.count(Dirtext::kFileSelectedEvent), 1);
}

TEST_F(RealOpenFileDialogTest, TwoFilesInADriveRoot) {
  ctl->set_MultiSelect(true);
  ASSERT_TRUE(browse(u"Dirtext root", {{"\"qsdirtext_a.txt\" \"qsdirtext_b.txt\""}}));
  EXPECT_EQ(entries(), (std::vector<std::u16string>{u"C:\\qsdirtext_a.txt", u"C:\\qsdirtext_b.txt"}));
}

TEST_F(RealOpenFileDialogTest, FiftyLongNamesComeBackWhole) {
  // Far more than the 256 characters a single selection gets.
  CreateDirectoryW(L"C:\\qsdirtext\\long", nullptr);
  std::string typed;
  std::vector<std::u16string> expected;
  for (int i = 0; i < 50; ++i) {
    const std::string name = "a file with a rather long name number " + std::to_string(100 + i) + ".txt";
    make_file(L"C:\\qsdirtext\\long\\" + std::wstring(name.begin(), name.end()));
    typed += "\"" + name + "\" ";
    expected.push_back(u"C:\\qsdirtext\\long\\" + std::u16string(name.begin(), name.end()));
  }
  ctl->set_MultiSelect(true);
  ASSERT_TRUE(browse(u"Dirtext fifty", {{"C:\\qsdirtext\\long"}, {typed}}));
  EXPECT_EQ(entries(), expected);
  EXPECT_EQ(host.count(Dirtext::kFileSelectedEvent), 1);
}

TEST_F(RealOpenFileDialogTest, CancelKeepsEverything) {
  ctl->set_ListIndex(3);
  ASSERT_TRUE(browse(u"Dirtext cancel", {{""}}));
  EXPECT_EQ(entries().size(), 5u);
  EXPECT_EQ(ctl->ListIndex(), 3);
  EXPECT_EQ(host.count(Dirtext::kFileSelectedEvent), 0);
}

}  // namespace
}  // namespace qs::win32
