// Quorral's cursor poll: the timer runs only in run mode with a sensitivity,
// MouseMove is raised only when a coordinate changed and carries both, the
// cursor properties refuse assignment in design mode, and the timer's range.
#include <climits>

#include "tests/controls/quorral/quorral_fixture.h"

namespace qs::test {
namespace {

using QuorralPollTest = QuorralTest;

// The MouseMove events raised so far, as (x, y).
std::vector<ScreenPoint> moves(const RecordingHost& host) {
  std::vector<ScreenPoint> out;
  for (const auto& e : host.events)
    if (e.dispid == Quorral::kMouseMoveEvent && e.args.size() == 2)
      out.push_back({e.args[0].to_long(), e.args[1].to_long()});
  return out;
}

TEST_F(QuorralPollTest, WithSensitivityZeroNoMouseMoveIsEverRaised) {
  driver().move_cursor({5, 6});
  driver().advance_time(300);
  driver().move_cursor({7, 8});
  driver().advance_time(300);
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(ctl->Timer1().interval(), 0);
  EXPECT_EQ(driver().running_timers(), timers_before);
}

TEST_F(QuorralPollTest, AMovedCursorRaisesOneMouseMoveAndACursorAtRestNone) {
  driver().move_cursor({40, 50});
  ctl->set_MouseSensitivity(Variant(int32_t{20}));
  EXPECT_EQ(ctl->Timer1().interval(), 20);
  host.reset();
  driver().advance_time(70);
  ASSERT_EQ(moves(host), (std::vector<ScreenPoint>{{40, 50}}));
  EXPECT_EQ(host.events[0].args[0].type(), VarType::kLong);
  EXPECT_EQ(host.changes, (std::vector<std::u16string>{u"MouseX", u"MouseY"}));
  EXPECT_EQ(ctl->MouseX().to_long(), 40);
  EXPECT_EQ(ctl->MouseY().to_long(), 50);

  host.reset();
  driver().advance_time(100);
  EXPECT_TRUE(host.events.empty()) << "the cursor is at rest";
  EXPECT_TRUE(host.changes.empty());

  // Only x changes: the event still carries both coordinates.
  driver().move_cursor({41, 50});
  driver().advance_time(70);
  EXPECT_EQ(moves(host), (std::vector<ScreenPoint>{{41, 50}}));
  EXPECT_EQ(host.changes, (std::vector<std::u16string>{u"MouseX"}));
}

TEST_F(QuorralPollTest, ACursorPropertySetByTheApplicationCountsAsItsLastPosition) {
  driver().move_cursor({12, 34});
  ctl->set_MouseX(Variant(int32_t{12}));
  ctl->set_MouseY(Variant(u"34"));  // a numeric text compares as its number
  ctl->set_MouseSensitivity(Variant(int32_t{10}));
  host.reset();
  driver().advance_time(50);
  EXPECT_TRUE(host.events.empty());
  ctl->set_MouseY(Variant(u"elsewhere"));
  driver().advance_time(50);
  EXPECT_EQ(moves(host), (std::vector<ScreenPoint>{{12, 34}}));
}

TEST_F(QuorralPollTest, InDesignModeTheTimerStaysOffAndTheCursorPropertiesRefuseAssignment) {
  host.run_mode = false;
  ctl->set_MouseSensitivity(Variant(int32_t{30}));
  EXPECT_EQ(ctl->MouseSensitivity().to_long(), 30);
  EXPECT_EQ(ctl->Timer1().interval(), 0);
  driver().move_cursor({3, 4});
  driver().advance_time(200);
  EXPECT_EQ(moves(host).size(), 0u);

  host.reset();
  EXPECT_EQ(error_of([&] { ctl->set_MouseX(Variant(int32_t{9})); }), kErrSetNotPermitted);
  EXPECT_EQ(error_of([&] { ctl->set_MouseY(Variant(int32_t{9})); }), kErrSetNotPermitted);
  EXPECT_EQ(ctl->MouseX().type(), VarType::kInteger);
  EXPECT_EQ(ctl->MouseX().to_long(), 0);
  EXPECT_EQ(ctl->MouseY().to_long(), 0);
  EXPECT_TRUE(host.changes.empty());

  // A value out of the timer's range is no error here: the timer stays off.
  EXPECT_EQ(error_of([&] { ctl->set_MouseSensitivity(Variant(int32_t{70000})); }), 0);
}

TEST_F(QuorralPollTest, SensitivityConvertsStoresNotifiesThenFailsOutsideTheTimersRange) {
  struct Case {
    Variant value;
    int32_t error;
    bool stored;
    int32_t interval;  // the timer's afterwards
  };
  const Case cases[] = {
      {Variant(int32_t{65535}), 0, true, 65535},
      {Variant(u"250"), 0, true, 250},
      {Variant(2.5), 0, true, 2},  // half to even
      {Variant(int32_t{65536}), kErrInvalidPropertyValue, true, 2},
      {Variant(int32_t{-1}), kErrInvalidPropertyValue, true, 2},
      {Variant(u"soon"), kErrTypeMismatch, false, 2},
      {Variant(double(INT_MAX) + 1), kErrOverflow, false, 2},
      {Variant(int16_t{0}), 0, true, 0},
  };
  int32_t held = 0;
  int i = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(i++);
    host.reset();
    EXPECT_EQ(error_of([&] { ctl->set_MouseSensitivity(c.value); }), c.error);
    if (c.stored) held = c.value.to_long();
    EXPECT_EQ(ctl->MouseSensitivity().type(), VarType::kLong);
    EXPECT_EQ(ctl->MouseSensitivity().to_long(), held);
    EXPECT_EQ(host.changes.size(), c.stored ? 1u : 0u);
    EXPECT_EQ(ctl->Timer1().interval(), c.interval);
  }
}

}  // namespace
}  // namespace qs::test
