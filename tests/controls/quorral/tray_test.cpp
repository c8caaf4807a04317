// Quorral's tray icon: the record's bytes, when add and delete requests go
// out, the mouse messages the shell reports, several instances on one
// thread, and a shell that starts again.
#include <string>

#include "tests/controls/quorral/quorral_fixture.h"

namespace qs::test {
namespace {

using QuorralTrayTest = QuorralTest;
using L = TrayLayout;
using Requests = std::vector<std::pair<uint32_t, uint32_t>>;

std::string tip_of(const TrayRecord& r) {
  return std::string(reinterpret_cast<const char*>(r.data()) + L::kTip, L::kTipWidth);
}

struct TipCase {
  const char* what;
  std::u16string tip;
  std::string field;  // the 64 bytes expected at offset 24
};

std::string padded(const std::string& text_and_nul) {
  std::string f = text_and_nul;
  f.resize(64, ' ');
  return f;
}

TEST_F(QuorralTrayTest, TheRecordCarriesSizeWindowIdFlagsCallbackIconAndTip) {
  const std::u16string tip63(63, u'a'), tip64(64, u'b'), tip70 = std::u16string(64, u'c') + u"defghi";
  const TipCase cases[] = {
      {"empty tip", u"", padded(std::string(1, '\0'))},
      {"short tip", u"Hi", padded(std::string("Hi") + '\0')},
      {"63 characters whole, then NUL", tip63, std::string(63, 'a') + '\0'},
      {"64 characters, no NUL", tip64, std::string(64, 'b')},
      {"longer ones cut at 64", tip70, std::string(64, 'c')},
      {"Latin-1 text in the code page", u"caf\u00e9", padded(std::string("caf\xe9") + '\0')},
  };
  for (const TipCase& c : cases) {
    SCOPED_TRACE(c.what);
    driver().clear_tray_requests();
    ctl->set_SysToolTip(Variant(c.tip));
    ctl->Set_Icon(true);
    ctl->Set_Icon(false);
    const auto& log = driver().tray_requests();
    ASSERT_EQ(log.size(), 2u);
    const TrayRecord& r = log[0].record;
    EXPECT_EQ(log[0].message, kTrayAdd);
    EXPECT_EQ(get_tray_field(r, L::kSize), 88u);
    EXPECT_EQ(get_tray_field(r, L::kWindow), window32(*ctl));
    EXPECT_EQ(get_tray_field(r, L::kId), 1u);
    EXPECT_EQ(get_tray_field(r, L::kFlags), 7u);
    EXPECT_EQ(get_tray_field(r, L::kCallback), 512u);
    EXPECT_EQ(get_tray_field(r, L::kIcon), uint32_t(ctl->SysIcon()->handle));
    EXPECT_NE(get_tray_field(r, L::kIcon), 0u);
    EXPECT_EQ(tip_of(r), c.field);
    // The delete carries the same record.
    EXPECT_EQ(log[1].message, kTrayDelete);
    EXPECT_EQ(log[1].record, r);
    EXPECT_EQ(shared_tray_record(), r);
  }
}

TEST_F(QuorralTrayTest, AnEmptyIconIsPlacedWithHandleZero) {
  MemoryPropertyBag bag;
  bag.put(u"SysToolTip", Variant(u"restored"));
  auto restored = make_control();
  restored->ReadProperties(bag);
  EXPECT_EQ(restored->SysIcon(), nullptr);
  restored->Set_Icon(true);
  ASSERT_EQ(driver().tray_requests().size(), 1u);
  EXPECT_EQ(get_tray_field(driver().tray_requests()[0].record, L::kIcon), 0u);
  EXPECT_EQ(tip_of(driver().tray_requests()[0].record), padded(std::string("restored") + '\0'));
}

TEST_F(QuorralTrayTest, AddOnlyWhenHiddenDeleteOnlyWhenShown) {
  struct Step {
    bool x;
    Requests expected;  // after the step, all requests so far
    bool shown;
  };
  const uint32_t w = window32(*ctl);
  const Step steps[] = {
      {false, {}, false},  // nothing shown: nothing sent
      {true, {{kTrayAdd, w}}, true},
      {true, {{kTrayAdd, w}}, true},  // shown already: no second add
      {false, {{kTrayAdd, w}, {kTrayDelete, w}}, false},
      {false, {{kTrayAdd, w}, {kTrayDelete, w}}, false},
      {true, {{kTrayAdd, w}, {kTrayDelete, w}, {kTrayAdd, w}}, true},
  };
  int i = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(i++);
    EXPECT_TRUE(ctl->Set_Icon(s.x).is_empty());
    EXPECT_EQ(requests(), s.expected);
    EXPECT_EQ(ctl->IconShown(), s.shown);
    EXPECT_EQ(shows(*ctl), s.shown);
  }
  EXPECT_TRUE(host.changes.empty()) << "Set_Icon notifies nothing";
}

TEST_F(QuorralTrayTest, ANewTipOrIconReachesTheTrayOnlyWhenPlacedAgain) {
  ctl->set_SysToolTip(Variant(u"old"));
  ctl->Set_Icon(true);
  ctl->set_SysToolTip(Variant(u"new"));
  ctl->set_SysIcon(nullptr);
  EXPECT_EQ(driver().tray_requests().size(), 1u) << "no modify request";
  ctl->Set_Icon(false);
  ctl->Set_Icon(true);
  const auto& log = driver().tray_requests();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(tip_of(log[2].record), padded(std::string("new") + '\0'));
  EXPECT_EQ(get_tray_field(log[2].record, L::kIcon), 0u);
}

TEST_F(QuorralTrayTest, AnInstanceThatNeverPlacedAnIconLeavesAnotherInstancesIconAlone) {
  ctl->Set_Icon(true);
  auto other = make_control();
  other->InitProperties();
  driver().clear_tray_requests();
  other.reset();
  EXPECT_TRUE(requests().empty()) << "an instance without an icon sends no delete";
  EXPECT_TRUE(shows(*ctl));
  // The first instance removes and places its icon as usual.
  ctl->Set_Icon(false);
  EXPECT_FALSE(shows(*ctl));
  ctl->Set_Icon(true);
  EXPECT_TRUE(shows(*ctl));
}

TEST_F(QuorralTrayTest, EachInstanceDeletesItsOwnIcon) {
  auto second = make_control();
  second->InitProperties();
  ctl->Set_Icon(true);
  second->Set_Icon(true);  // the shared record now names the second window
  ctl->Set_Icon(false);
  EXPECT_FALSE(shows(*ctl));
  EXPECT_TRUE(shows(*second));
  EXPECT_EQ(requests().back(), std::make_pair(uint32_t(kTrayDelete), window32(*ctl)));
  // The shared record is left as last filled: it still names the second.
  EXPECT_EQ(get_tray_field(shared_tray_record(), L::kWindow), window32(*second));
  second.reset();
  EXPECT_TRUE(driver().tray_icons().empty());
}

TEST_F(QuorralTrayTest, ADestroyedInstanceLeavesNoIconTimerOrWindow) {
  host.run_mode = true;
  ctl->set_MouseSensitivity(Variant(int32_t{40}));
  ctl->Set_Icon(true);
  EXPECT_EQ(driver().running_timers(), timers_before + 1);
  EXPECT_EQ(driver().live_message_windows(), windows_before + 1);
  const Driver::TrayIcon icon = icon_of(*ctl);
  ctl.reset();
  driver().pump();
  EXPECT_EQ(requests().back().first, uint32_t(kTrayDelete));
  for (const auto& i : driver().tray_icons()) EXPECT_FALSE(i == icon);
  EXPECT_EQ(driver().running_timers(), timers_before);
  EXPECT_EQ(driver().live_message_windows(), windows_before);
}

TEST_F(QuorralTrayTest, AfterAShellRestartOnlyShownIconsArePlacedAgainWithTheirOldRecord) {
  auto hidden = make_control();
  hidden->InitProperties();
  ctl->set_SysToolTip(Variant(u"placed"));
  ctl->Set_Icon(true);
  const TrayRecord placed = driver().tray_requests().back().record;
  ctl->set_SysToolTip(Variant(u"changed since"));
  driver().clear_tray_requests();
  driver().restart_shell();
  driver().pump();
  ASSERT_EQ(requests(), (Requests{{kTrayAdd, window32(*ctl)}}));
  EXPECT_EQ(driver().tray_requests()[0].record, placed);
  EXPECT_TRUE(shows(*ctl));
  EXPECT_FALSE(shows(*hidden));
  // After a removal a restart places nothing.
  ctl->Set_Icon(false);
  driver().clear_tray_requests();
  driver().restart_shell();
  driver().pump();
  EXPECT_TRUE(requests().empty());
}

TEST_F(QuorralTrayTest, MouseMessagesOnTheIconRaiseClickAndDoubleClick) {
  struct Case {
    const char* what;
    std::vector<uint32_t> messages;
    Ids events;
    std::vector<int16_t> buttons;  // of the Click events, in order
  };
  const Case cases[] = {
      {"left double click", {513, 514, 515, 514}, {3, 2, 3}, {0, 0}},
      {"right click", {516, 517}, {3}, {1}},
      {"a right press alone", {516}, {}, {}},
      {"a left press alone", {513}, {}, {}},
      {"middle button and moves", {519, 520, 512, 518}, {}, {}},
  };
  ctl->Set_Icon(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host.reset();
    for (uint32_t m : c.messages) ASSERT_TRUE(driver().tray_mouse(icon_of(*ctl), m));
    driver().pump();
    EXPECT_EQ(event_ids(), c.events);
    std::vector<int16_t> buttons;
    for (const auto& e : host.events) {
      if (e.dispid != Quorral::kClickEvent) continue;
      ASSERT_EQ(e.args.size(), 1u);
      EXPECT_EQ(e.args[0].type(), VarType::kInteger);
      buttons.push_back(e.args[0].to_integer());
    }
    EXPECT_EQ(buttons, c.buttons);
  }
}

TEST_F(QuorralTrayTest, TheMessageNumberIsDecodedInPixelsAndInTwips) {
  struct Case {
    float x;
    int16_t scale;
    int expected;
  };
  const Case cases[] = {
      {514, Quorral::kScalePixels, 514},     {514.5f, Quorral::kScalePixels, 514},
      {515.5f, Quorral::kScalePixels, 516},  {516.4f, Quorral::kScalePixels, 516},
      {7710, Quorral::kScaleTwips, 514},     {7725, Quorral::kScaleTwips, 515},
      {7717.5f, Quorral::kScaleTwips, 514},  {7732.5f, Quorral::kScaleTwips, 516},
      {7755, Quorral::kScaleTwips, 517},     {517, Quorral::kScaleTwips, 34},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Quorral::tray_message_number(c.x, c.scale, 15.0f), c.expected)
        << c.x << " in scale " << c.scale;

  const float tpp = rig->platform().twips_per_pixel_x();
  ctl->tray_mouse_move(515 * tpp, Quorral::kScaleTwips);
  ctl->tray_mouse_move(517, Quorral::kScalePixels);
  ctl->tray_mouse_move(517, Quorral::kScaleTwips);  // a real move over the surface
  EXPECT_EQ(event_ids(), (Ids{Quorral::kDoubleClickEvent, Quorral::kClickEvent}));
}

}  // namespace
}  // namespace qs::test
