// qCheck's value: the click cycle for every CheckType, the box colour of
// every value, Change on every assignment, and the setters that take effect
// only at the next assignment of Value.
#include <climits>

#include "tests/controls/qcheck/qcheck_fixture.h"

namespace qs::test {
namespace {

using QCheckValueTest = QCheckTest;

TEST_F(QCheckValueTest, NewControlShowsABlackBoxAndTheCaptionWithoutAChange) {
  auto fresh = make_control();
  fresh->InitProperties();
  EXPECT_EQ(fresh->Picture1().back_color(), kBlack);
  EXPECT_EQ(fresh->Picture1().bounds(), (Bounds{0, 45, 240, 225}));
  EXPECT_FALSE(fresh->Picture1().windowless());
  EXPECT_EQ(fresh->Label1().caption(), u"Label1");
  EXPECT_EQ(fresh->Label1().bounds(), (Bounds{510, 0, 1035, 270}));
  EXPECT_EQ(fresh->Label1().back_color(), kColorButtonFace);
  EXPECT_EQ(fresh->Label1().fore_color(), kColorButtonText);
  EXPECT_EQ(fresh->Label1().alignment(), Alignment::kLeft);
  EXPECT_EQ(fresh->Picture1().tab_index(), 0);
  EXPECT_EQ(fresh->Label1().tab_index(), 1);
  EXPECT_EQ(fresh->Value().type(), VarType::kInteger);
  EXPECT_EQ(fresh->Value().to_long(), 0);
  EXPECT_EQ(fresh->ClearColor(), kBlack);
  EXPECT_EQ(fresh->CheckColor(), kGreen);
  EXPECT_EQ(fresh->IndeterminantColor(), kOrange);
  EXPECT_EQ(fresh->CheckType(), TwoState);
  EXPECT_EQ(fresh->Alignment(), LEFT);
  EXPECT_TRUE(host.events.empty());
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(QCheckValueTest, ClicksCycleThroughTheStatesOfTheCheckType) {
  struct Case {
    const char* name;
    int32_t check_type;
    Variant start;
    std::vector<int32_t> values;  // after each click
  };
  const Case cases[] = {
      {"two states", TwoState, Variant(int16_t{0}), {1, 0, 1}},
      {"three states", ThreeState, Variant(int16_t{0}), {1, 2, 0, 1}},
      {"two states from 2", TwoState, Variant(int16_t{2}), {0, 1}},
      {"two states from 7", TwoState, Variant(int32_t{7}), {0}},
      {"two states from True", TwoState, Variant(true), {0, 1}},
      {"three states from True", ThreeState, Variant(true), {0}},
      {"CheckType 3 extends the cycle", 3, Variant(int16_t{0}), {1, 2, 3, 4, 0}},
      {"negative CheckType stays at 0", -1, Variant(int16_t{0}), {0, 0}},
      {"largest CheckType keeps counting", INT32_MAX, Variant(int32_t{40000}), {40001}},
      {"numeric text adds as a number", TwoState, Variant(u"1"), {0}},
      {"empty counts as 0", TwoState, Variant(), {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctl->set_CheckType(c.check_type);
    ctl->set_Value(c.start);
    host.reset();
    for (int32_t expected : c.values) {
      driver().click(ctl->Picture1());
      EXPECT_EQ(ctl->Value().to_long(), expected);
    }
    Ids expected_ids;
    Texts expected_changes;
    for (size_t i = 0; i < c.values.size(); ++i) {
      expected_ids.insert(expected_ids.end(), {qCheck::kChangeEvent, qCheck::kClickEvent});
      expected_changes.push_back(u"Value");
    }
    // Mouse events come with each click; Change and Click come in that order.
    Ids ids;
    for (int id : event_ids())
      if (id == qCheck::kChangeEvent || id == qCheck::kClickEvent) ids.push_back(id);
    EXPECT_EQ(ids, expected_ids);
    EXPECT_EQ(host.changes, expected_changes);
  }
}

TEST_F(QCheckValueTest, EachClickColoursTheBox) {
  struct Case {
    int32_t check_type;
    std::vector<OleColor> colours;
  };
  for (const Case& c : {Case{TwoState, {kGreen, kBlack, kGreen}},
                        Case{ThreeState, {kGreen, kOrange, kBlack}}}) {
    ctl->set_Value(Variant(int16_t{0}));
    ctl->set_CheckType(c.check_type);
    for (OleColor colour : c.colours) {
      driver().click(ctl->Picture1());
      EXPECT_EQ(box_color(), colour) << "CheckType " << c.check_type;
    }
  }
}

TEST_F(QCheckValueTest, AClickOnTheCaptionIsAClickOnTheBox) {
  ctl->set_CheckType(ThreeState);
  host.reset();
  driver().click(ctl->Label1());
  driver().click(ctl->Label1());
  EXPECT_EQ(ctl->Value().to_long(), 2);
  EXPECT_EQ(box_color(), kOrange);
  EXPECT_EQ(event_ids(), (Ids{qCheck::kMouseDownEvent, qCheck::kMouseUpEvent,
                              qCheck::kChangeEvent, qCheck::kClickEvent,
                              qCheck::kMouseDownEvent, qCheck::kMouseUpEvent,
                              qCheck::kChangeEvent, qCheck::kClickEvent}));
}

TEST_F(QCheckValueTest, AssignedValueChoosesTheBoxColour) {
  struct Case {
    const char* name;
    Variant value;
    OleColor colour;
  };
  ctl->set_ClearColor(rgb(1, 1, 1));
  ctl->set_CheckColor(rgb(2, 2, 2));
  ctl->set_IndeterminantColor(rgb(3, 3, 3));
  const Case cases[] = {
      {"integer 0", Variant(int16_t{0}), rgb(1, 1, 1)},
      {"long 0", Variant(int32_t{0}), rgb(1, 1, 1)},
      {"empty", Variant(), rgb(1, 1, 1)},
      {"False", Variant(false), rgb(1, 1, 1)},
      {"integer 1", Variant(int16_t{1}), rgb(2, 2, 2)},
      {"double 1", Variant(1.0), rgb(2, 2, 2)},
      {"text 1", Variant(u"1"), rgb(2, 2, 2)},
      {"integer 2", Variant(int16_t{2}), rgb(3, 3, 3)},
      {"True", Variant(true), rgb(3, 3, 3)},
      {"a half", Variant(0.5), rgb(3, 3, 3)},
      {"text", Variant(u"abc"), rgb(3, 3, 3)},
      {"null", Variant::null(), rgb(3, 3, 3)},
  };
  for (const Case& c : cases) {
    host.reset();
    ctl->set_Value(c.value);
    EXPECT_EQ(box_color(), c.colour) << c.name;
    EXPECT_TRUE(ctl->Value().identical(c.value)) << c.name << ": stored unchanged";
    EXPECT_EQ(event_ids(), Ids{qCheck::kChangeEvent}) << c.name;
    EXPECT_EQ(host.changes, Texts{u"Value"}) << c.name;
  }
}

TEST_F(QCheckValueTest, AValueThatCannotBeComparedIsRefusedAndChangesNothing) {
  ctl->set_Value(Variant(int16_t{1}));
  host.reset();
  for (const Variant& bad : {Variant(make_font()), Variant::nothing(), Variant::missing()}) {
    EXPECT_EQ(error_of([&] { ctl->set_Value(bad); }), kErrTypeMismatch);
  }
  EXPECT_EQ(ctl->Value().to_long(), 1);
  EXPECT_EQ(box_color(), kGreen);
  EXPECT_TRUE(host.events.empty());
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(QCheckValueTest, EveryAssignmentRaisesChangeEvenOfTheSameValue) {
  for (int i = 0; i < 3; ++i) ctl->set_Value(Variant(int16_t{0}));
  EXPECT_EQ(host.count(qCheck::kChangeEvent), 3);
  EXPECT_EQ(host.changes, (Texts{u"Value", u"Value", u"Value"}));
}

TEST_F(QCheckValueTest, ColourAndTypeSettersWaitForTheNextValue) {
  ctl->set_Value(Variant(int16_t{1}));
  ctl->set_CheckColor(rgb(9, 9, 9));
  EXPECT_EQ(box_color(), kGreen) << "the box keeps its colour";
  ctl->set_Value(ctl->Value());
  EXPECT_EQ(box_color(), rgb(9, 9, 9));

  ctl->set_CheckType(ThreeState);
  ctl->set_Value(Variant(int16_t{2}));
  host.reset();
  ctl->set_CheckType(TwoState);
  ctl->set_IndeterminantColor(rgb(7, 7, 7));
  EXPECT_EQ(ctl->Value().to_long(), 2) << "the value is not adjusted";
  EXPECT_EQ(box_color(), kOrange);
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(host.changes, (Texts{u"CheckType", u"IndeterminantColor"}));
  driver().click(ctl->Picture1());
  EXPECT_EQ(ctl->Value().to_long(), 0);
  EXPECT_EQ(box_color(), kBlack);
}

TEST_F(QCheckValueTest, AClickOnTextThatIsNoNumberFailsAndLeavesTheValue) {
  ctl->set_Value(Variant(u"abc"));
  host.reset();
  EXPECT_EQ(error_of([&] { driver().click(ctl->Picture1()); }), kErrTypeMismatch);
  EXPECT_EQ(ctl->Value().string_value(), u"abc");
  EXPECT_EQ(host.count(qCheck::kChangeEvent), 0);
  EXPECT_EQ(host.count(qCheck::kClickEvent), 0);
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(QCheckValueTest, ADoubleClickAdvancesOnceThenRaisesDblClick) {
  for (Element* target : {static_cast<Element*>(&ctl->Picture1()),
                          static_cast<Element*>(&ctl->Label1())}) {
    ctl->set_Value(Variant(int16_t{0}));
    host.reset();
    driver().double_click(*target);
    EXPECT_EQ(ctl->Value().to_long(), 1) << utf8(target->name());
    EXPECT_EQ(event_ids(), (Ids{qCheck::kMouseDownEvent, qCheck::kMouseUpEvent,
                                qCheck::kChangeEvent, qCheck::kClickEvent,
                                qCheck::kDblClickEvent, qCheck::kMouseUpEvent}))
        << utf8(target->name());
  }
}

TEST_F(QCheckValueTest, KeysRaiseNothingAndLeaveTheValue) {
  constexpr int16_t kSpace = 0x20, kA = 0x41, kReturn = 0x0D;
  for (int16_t key : {kSpace, kA, kReturn}) {
    driver().press_key(ctl->Picture1(), key);
    driver().press_key(ctl->Label1(), key);
  }
  driver().pump();
  EXPECT_EQ(ctl->Value().to_long(), 0);
  EXPECT_TRUE(host.events.empty());
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(QCheckValueTest, ADisabledControlTakesNoClicks) {
  ctl->set_Enabled(false);
  driver().click(ctl->Picture1());
  driver().click(ctl->Label1());
  EXPECT_EQ(ctl->Value().to_long(), 0);
  EXPECT_TRUE(host.events.empty());
}

}  // namespace
}  // namespace qs::test
