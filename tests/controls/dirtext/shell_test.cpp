// Dirtext's shell: a new instance, the property setters and what they
// announce, the forwarded list members, the layout, and the events
// forwarded from the list with their by-reference arguments.
#include <cmath>
#include <cstdint>

#include "tests/controls/dirtext/dirtext_fixture.h"

namespace qs::test {
namespace {

using DirtextShellTest = DirtextTest;

TEST_F(DirtextShellTest, ANewControlIsEmptyWithItsDefaults) {
  EXPECT_EQ(ctl->ListCount(), 0);
  EXPECT_EQ(ctl->ListIndex(), -1);
  EXPECT_EQ(ctl->Text(), u"");
  EXPECT_EQ(ctl->Filter(), u"");
  EXPECT_EQ(ctl->Caption().to_text(), u"Open/Save File");
  EXPECT_FALSE(ctl->MultiSelect());
  EXPECT_EQ(ctl->dlgType(), dtOpenFile);
  EXPECT_EQ(ctl->BackColor(), kColorWindowBackground);
  EXPECT_EQ(ctl->ForeColor(), kColorWindowText);
  EXPECT_EQ(ctl->Command1().caption(), u"...");
  EXPECT_LT(ctl->Command1().tab_index(), ctl->Text1().tab_index());
}

TEST_F(DirtextShellTest, EachAssignmentAnnouncesItsKeyOnce) {
  ctl->AddItem(u"a");
  ctl->AddItem(u"b");
  struct Case {
    std::function<void()> assign;
    std::u16string key;
  };
  const Case cases[] = {
      {[&] { ctl->set_BackColor(rgb(1, 2, 3)); }, u"BackColor"},
      {[&] { ctl->set_ForeColor(rgb(4, 5, 6)); }, u"ForeColor"},
      {[&] { ctl->set_Enabled(false); }, u"Enabled"},
      {[&] { ctl->set_Font(make_font(FontDesc{u"Arial", 10, 400})); }, u"Font"},
      {[&] { ctl->set_BorderStyle(1); }, u"BorderStyle"},
      {[&] { ctl->set_Filter(u"A|*.a"); }, u"Filter"},
      {[&] { ctl->set_Caption(Variant(u"Title")); }, u"Caption"},
      {[&] { ctl->set_MultiSelect(true); }, u"MultiSelect"},
      {[&] { ctl->set_dlgType(dtDirectory); }, u"DlgType"},
      {[&] { ctl->set_List(1, u"B"); }, u"List"},
      {[&] { ctl->set_ListIndex(0); }, u"ListIndex"},
      {[&] { ctl->set_Text(u"b"); }, u"Text"},
  };
  for (const Case& c : cases) {
    host.changes.clear();
    c.assign();
    EXPECT_EQ(host.changes, Texts{c.key});
  }
  host.changes.clear();
  ctl->AddItem(u"c");
  ctl->Clear();
  EXPECT_EQ(host.changes, Texts{}) << "AddItem and Clear announce nothing";
}

TEST_F(DirtextShellTest, ColoursAndFontLiveInTheList) {
  FontRef font = make_font(FontDesc{u"Arial", 14, 700});
  ctl->set_BackColor(rgb(10, 20, 30));
  ctl->set_ForeColor(rgb(40, 50, 60));
  ctl->set_Font(font);
  EXPECT_EQ(ctl->Text1().back_color(), rgb(10, 20, 30));
  EXPECT_EQ(ctl->Text1().fore_color(), rgb(40, 50, 60));
  EXPECT_EQ(ctl->Text1().font(), font);
}

TEST_F(DirtextShellTest, RefusedValues) {
  ctl->AddItem(u"only");
  struct Case {
    const char* name;
    std::function<void()> assign;
    int32_t error;
  };
  const Case cases[] = {
      {"dlgType beyond 16 bits", [&] { ctl->set_dlgType(70000); }, kErrOverflow},
      {"Caption without a text form", [&] { ctl->set_Caption(Variant(make_font(default_font_desc()))); },
       kErrTypeMismatch},
      {"no font", [&] { ctl->set_Font(nullptr); }, kErrInvalidPropertyValue},
      {"ListIndex past the entries", [&] { ctl->set_ListIndex(1); }, kErrInvalidPropertyValue},
      {"List past the entries", [&] { ctl->set_List(1, u"x"); }, kErrInvalidArrayIndex},
      {"AddItem past the end", [&] { ctl->AddItem(u"x", Variant(int16_t{2})); }, kErrInvalidCall},
      {"BorderStyle 2", [&] { ctl->set_BorderStyle(2); }, kErrInvalidPropertyValue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.changes.clear();
    EXPECT_EQ(error_of(c.assign), c.error);
    EXPECT_EQ(host.changes, Texts{});
  }
  EXPECT_EQ(ctl->dlgType(), dtOpenFile);
  EXPECT_EQ(ctl->Caption().to_text(), u"Open/Save File");
  EXPECT_EQ(entries(*ctl), Texts{u"only"});
}

TEST_F(DirtextShellTest, AddItemAppendsOrInsertsAndTextSelects) {
  ctl->AddItem(u"b");
  ctl->AddItem(u"c");
  ctl->AddItem(u"a", Variant(int16_t{0}));
  ctl->AddItem(u"b2", Variant(int32_t{2}));
  EXPECT_EQ(entries(*ctl), (Texts{u"a", u"b", u"b2", u"c"}));
  ctl->set_Text(u"B2");
  EXPECT_EQ(ctl->ListIndex(), 2);
  EXPECT_EQ(ctl->Text(), u"b2");
  ctl->set_Text(u"none of them");
  EXPECT_EQ(ctl->ListIndex(), 2);
  ctl->Clear();
  EXPECT_EQ(ctl->ListCount(), 0);
  EXPECT_EQ(ctl->Text(), u"");
}

TEST_F(DirtextShellTest, LayoutPlacesASquareButtonAtTheRightEdge) {
  struct Case {
    float width, height;
    float text1_height;  // what the in-memory list takes
    float button;
  };
  const Case cases[] = {
      {3000, 300, 300, 285},
      {3000, 240, 240, 240},
      {3000, 100, 225, 225},  // lower than one row: the control grows
      {4800, 3600, 3600, 285},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    driver().resize(ctl->surface(), c.width, c.height);
    const Bounds t = ctl->Text1().bounds();
    const Bounds b = ctl->Command1().bounds();
    const float sh = ctl->surface().scale_height();
    // What holds whatever height the platform's list takes.
    EXPECT_LE(t.height, sh);
    if (t.height < c.height) {
      EXPECT_EQ(sh, c.height) << "a taller control is never shrunk";
    } else {
      EXPECT_EQ(sh, t.height) << "the control is as tall as the list, or grows to it";
    }
    const float button = std::min(t.height, 285.0f);
    EXPECT_NEAR(b.width, button, 1);
    EXPECT_NEAR(b.height, button, 1);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(t.left, 0);
    EXPECT_EQ(t.top, 0);
    EXPECT_NEAR(t.width, ctl->surface().scale_width() - b.width, 1);
    EXPECT_EQ(b.left, t.width);
    if (rig->headless()) {
      EXPECT_EQ(t.height, c.text1_height);
      EXPECT_EQ(b.width, c.button);
      EXPECT_EQ(t.width, c.width - c.button);
    }
  }
}

TEST_F(DirtextShellTest, ANarrowControlSkipsTheWidthAndStillPlacesTheButton) {
  const float wide_text1 = ctl->Text1().bounds().width;
  driver().resize(ctl->surface(), 150, 300);
  EXPECT_EQ(ctl->Text1().bounds().width, wide_text1) << "a negative width is skipped";
  EXPECT_EQ(ctl->Command1().bounds().left, wide_text1);
  EXPECT_NEAR(ctl->Command1().bounds().width, std::min(ctl->Text1().bounds().height, 285.0f), 1);
}

TEST_F(DirtextShellTest, ListEventsAreForwarded) {
  ctl->AddItem(u"apple");
  ctl->AddItem(u"banana");
  host.reset();
  driver().click_item(ctl->Text1(), 1);
  driver().double_click_item(ctl->Text1(), 0);
  driver().mouse_move(ctl->Text1(), 300, 60);
  std::vector<int> ids;
  for (const auto& e : host.events) ids.push_back(e.dispid);
  EXPECT_EQ(std::count(ids.begin(), ids.end(), int{Dirtext::kClickEvent}), 2);
  EXPECT_EQ(host.count(Dirtext::kDblClickEvent), 1);
  ASSERT_GE(host.count(Dirtext::kMouseMoveEvent), 1);
  const auto& move = host.events.back();
  ASSERT_EQ(move.dispid, Dirtext::kMouseMoveEvent);
  ASSERT_EQ(move.args.size(), 4u);
  EXPECT_NEAR(move.args[2].to_single(), 300, 15) << "relative to the list";
  EXPECT_NEAR(move.args[3].to_single(), 60, 15);
}

TEST_F(DirtextShellTest, KeysReachTheHostAndItsChangesReachTheList) {
  struct Case {
    const char* name;
    int16_t host_key_ascii;  // -1: left alone
    int16_t selected;
  };
  const Case cases[] = {
      {"left alone, B finds banana", -1, 1},
      {"KeyAscii set to 0 suppresses the key", 0, -1},
      {"KeyAscii changed to C finds cherry", 'C', 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctl->Clear();
    for (const char16_t* item : {u"apple", u"banana", u"cherry"}) ctl->AddItem(item);
    host.reset();
    host.on_event = [&](int dispid, std::vector<Variant*>& args) {
      if (dispid == Dirtext::kKeyPressEvent && c.host_key_ascii >= 0) *args[0] = Variant(c.host_key_ascii);
    };
    driver().press_key(ctl->Text1(), 'B');
    host.on_event = nullptr;
    EXPECT_EQ(ctl->ListIndex(), c.selected);
    EXPECT_EQ(host.count(Dirtext::kClickEvent), c.selected >= 0 ? 1 : 0);
    ASSERT_EQ(host.count(Dirtext::kKeyDownEvent), 1);
    ASSERT_EQ(host.count(Dirtext::kKeyPressEvent), 1);
    ASSERT_EQ(host.count(Dirtext::kKeyUpEvent), 1);
    for (const auto& e : host.events) {
      if (e.dispid == Dirtext::kKeyDownEvent) {
        ASSERT_EQ(e.args.size(), 2u);
        EXPECT_EQ(e.args[0].to_integer(), 'B');
        EXPECT_EQ(e.args[0].type(), VarType::kInteger);
      }
      if (e.dispid == Dirtext::kKeyPressEvent) {
        ASSERT_EQ(e.args.size(), 1u);
        EXPECT_EQ(e.args[0].to_integer() & ~0x20, 'B');
      }
    }
  }
}

}  // namespace
}  // namespace qs::test
