// Dirtext's browse operation: the dialog request field by field, the
// results of single and multiple selections, cancel and failure, and the
// FileSelected event.
#include <cstdint>
#include <string>

#include "tests/controls/dirtext/dirtext_fixture.h"

namespace qs::test {
namespace {

using namespace std::string_literals;

using DirtextBrowseTest = DirtextTest;

TEST_F(DirtextBrowseTest, TheRequestHoldsExactlyTheFieldsItShould) {
  struct Case {
    const char* name;
    std::u16string filter;
    bool multi;
    std::string filter_block;
    uint32_t max_file;
    uint32_t flags;
  };
  const Case cases[] = {
      {"empty filter", u"", false, "\0\0"s, 256, 0x80000},
      {"two pairs", u"Text files (*.txt)|*.txt|All files|*.*", false,
       "Text files (*.txt)\0*.txt\0All files\0*.*\0\0"s, 256, 0x80000},
      {"trailing bar", u"Any|*.*|", false, "Any\0*.*\0\0"s, 256, 0x80000},
      {"multiple selection", u"Any|*.*", true, "Any\0*.*\0\0"s, 32768, 0x80200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seen.clear();
    filters.clear();
    titles.clear();
    initial_dirs.clear();
    buffers_clear.clear();
    ctl->set_Filter(c.filter);
    ctl->set_MultiSelect(c.multi);
    answer_with("C:\\x.txt\0"s);
    ctl->ShowDlg();
    ASSERT_EQ(seen.size(), 1u);
    const OpenFileRecord& r = seen[0];
    EXPECT_EQ(r.lStructSize, sizeof(OpenFileRecord));
    if (sizeof(void*) == 4) {
      EXPECT_EQ(r.lStructSize, 76u);
    }
    EXPECT_EQ(r.hwndOwner, ctl->surface().window_handle());
    EXPECT_NE(r.hwndOwner, 0u);
    EXPECT_EQ(r.hInstance, rig->platform().module_handle());
    EXPECT_EQ(filters[0], c.filter_block);
    EXPECT_EQ(r.nFilterIndex, 1u);
    EXPECT_EQ(r.nMaxFile, c.max_file);
    EXPECT_EQ(r.nMaxFileTitle, 256u);
    EXPECT_TRUE(buffers_clear[0]) << "result buffers not all NUL, or shared";
    EXPECT_EQ(initial_dirs[0], "C:\\");
    EXPECT_EQ(titles[0], "Open/Save File");
    EXPECT_EQ(r.Flags, c.flags);
    // Every other byte of the record is zero.
    OpenFileRecord rest = r;
    rest.lStructSize = 0;
    rest.hwndOwner = rest.hInstance = 0;
    rest.lpstrFilter = rest.lpstrInitialDir = rest.lpstrTitle = nullptr;
    rest.lpstrFile = rest.lpstrFileTitle = nullptr;
    rest.nFilterIndex = rest.nMaxFile = rest.nMaxFileTitle = rest.Flags = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&rest);
    for (size_t i = 0; i < sizeof rest; ++i) EXPECT_EQ(bytes[i], 0) << "byte " << i;
  }
}

TEST_F(DirtextBrowseTest, CaptionTitlesTheDialogWhateverTheDialogType) {
  answer_with("C:\\x.txt\0"s);
  for (int32_t type : {dtOpenFile, dtSaveFile, dtDirectory}) {
    ctl->set_dlgType(type);
    ctl->set_Caption(Variant(u"Pick " + std::u16string(1, char16_t(u'0' + type))));
    ctl->ShowDlg();
  }
  ctl->set_Caption(Variant(int16_t{42}));
  ctl->ShowDlg();
  EXPECT_EQ(titles, (std::vector<std::string>{"Pick 0", "Pick 1", "Pick 2", "42"}));
  for (const OpenFileRecord& r : seen) EXPECT_EQ(r.Flags, 0x80000u);
}

TEST_F(DirtextBrowseTest, ConfirmedSelectionsReplaceTheEntries) {
  struct Case {
    const char* name;
    bool multi;
    std::string answer;
    Texts expected;
  };
  std::string many = "C:\\Long folder name\0"s;
  Texts many_paths;
  for (int i = 0; i < 40; ++i) {
    std::string name = "file number ";
    name += std::to_string(i);
    name += ".txt";
    many += name;
    many.push_back('\0');
    many_paths.push_back(u"C:\\Long folder name\\" + std::u16string(name.begin(), name.end()));
  }
  many += '\0';
  const Case cases[] = {
      {"one file", false, "C:\\Docs\\a.txt\0"s, {u"C:\\Docs\\a.txt"}},
      {"one file, spaces around", false, "  C:\\Docs\\a b.txt\0"s, {u"C:\\Docs\\a b.txt"}},
      {"multiple, one chosen", true, "C:\\Docs\\a.txt\0\0"s, {u"C:\\Docs\\a.txt"}},
      {"multiple, two chosen", true, "C:\\Docs\0a.txt\0b.txt\0\0"s,
       {u"C:\\Docs\\a.txt", u"C:\\Docs\\b.txt"}},
      {"multiple in a drive root", true, "C:\\\0a.txt\0b.txt\0\0"s, {u"C:\\a.txt", u"C:\\b.txt"}},
      {"multiple, a blank name ends the list", true, "C:\\D\0a\0   \0b\0\0"s, {u"C:\\D\\a"}},
      {"multiple, longer than 256 characters", true, many, many_paths},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctl->Clear();
    for (const char16_t* old : {u"1", u"2", u"3", u"4", u"5"}) ctl->AddItem(old);
    ctl->set_ListIndex(2);
    ctl->set_MultiSelect(c.multi);
    answer_with(c.answer);
    int16_t count_at_event = -1;
    host.on_event = [&](int dispid, std::vector<Variant*>&) {
      if (dispid == Dirtext::kFileSelectedEvent) count_at_event = ctl->ListCount();
    };
    host.reset();
    Variant result = ctl->ShowDlg();
    EXPECT_TRUE(result.is_empty());
    EXPECT_EQ(entries(*ctl), c.expected);
    EXPECT_EQ(ctl->ListIndex(), -1);
    EXPECT_EQ(ctl->Text(), u"");
    EXPECT_EQ(host.count(Dirtext::kFileSelectedEvent), 1);
    EXPECT_EQ(count_at_event, static_cast<int16_t>(c.expected.size())) << "raised before the refill";
    EXPECT_EQ(host.changes, Texts{});
  }
}

TEST_F(DirtextBrowseTest, CancelFailureAndUnrepresentableNamesChangeNothing) {
  struct Case {
    const char* name;
    bool multi;
    bool cancel;
    std::string answer;
  };
  const Case cases[] = {
      {"cancel", false, true, ""},
      {"single selection too long for its buffer", false, false, std::string(300, 'x') + '\0'},
      // The dialog writes "?" for a character the code page cannot carry.
      {"name outside the code page", false, false, "C:\\Docs\\?.txt\0"s},
      {"one name of several outside the code page", true, false, "C:\\Docs\0a.txt\0?b.txt\0\0"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctl->Clear();
    ctl->AddItem(u"C:\\old.txt");
    ctl->AddItem(u"C:\\older.txt");
    ctl->set_ListIndex(1);
    ctl->set_MultiSelect(c.multi);
    if (c.cancel) {
      cancel_dialogs();
    } else {
      answer_with(c.answer);
    }
    host.reset();
    ctl->ShowDlg();
    EXPECT_EQ(entries(*ctl), (Texts{u"C:\\old.txt", u"C:\\older.txt"}));
    EXPECT_EQ(ctl->ListIndex(), 1);
    EXPECT_EQ(ctl->Text(), u"C:\\older.txt");
    EXPECT_TRUE(host.events.empty());
  }
}

TEST_F(DirtextBrowseTest, TheButtonRunsTheSameOperation) {
  answer_with("C:\\Docs\\a.txt\0"s);
  driver().click(ctl->Command1());
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(entries(*ctl), Texts{u"C:\\Docs\\a.txt"});
  EXPECT_EQ(host.count(Dirtext::kFileSelectedEvent), 1);
}

}  // namespace
}  // namespace qs::test
