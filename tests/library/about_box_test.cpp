// The library's about box, shown through a control's ShowAboutBox and closed
// as a user closes it, on the platform this executable is built for.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "library/about_form.h"
#include "library/control.h"
#include "tests/support/recording_host.h"
#include "tests/support/rig.h"

#if !defined(_WIN32)
#include "platform/headless/headless_platform.h"
#endif

namespace qs {
namespace {

// The smallest control: only the frame's ShowAboutBox matters here.
class Probe : public Control {
 public:
  using Control::Control;
  void InitProperties() override {}
  void ReadProperties(PropertyBag&) override {}
  void WriteProperties(PropertyBag&) override {}
};

Label* find_label(Form& form, const std::u16string& name) {
  return dynamic_cast<Label*>(form.find(name));
}

// Forms alive on the headless platform, or -1 where the platform keeps no count.
int live_forms(test::Rig& rig) {
#if !defined(_WIN32)
  if (rig.headless()) return static_cast<HeadlessPlatform&>(rig.platform()).live_forms();
#endif
  (void)rig;
  return -1;
}

int forms_created(test::Rig& rig) {
#if !defined(_WIN32)
  if (rig.headless()) return static_cast<HeadlessPlatform&>(rig.platform()).forms_created();
#endif
  (void)rig;
  return -1;
}

class AboutBoxTest : public ::testing::Test {
 protected:
  std::unique_ptr<test::Rig> rig_ = test::make_rig();
  test::RecordingHost host_;
  Probe probe_{rig_->platform().create_surface(), host_};
  Driver& driver_ = rig_->driver();
};

TEST_F(AboutBoxTest, ShowsModallyUntilOkIsClicked) {
  int shows = 0;
  int live_during_show = 0;
  driver_.on_modal([&](Form& form) {
    ++shows;
    live_during_show = live_forms(*rig_);
    Label* control_line = find_label(form, u"Label4");
    Label* version_line = find_label(form, u"Label5");
    Label* ok = find_label(form, u"Label3");
    if (control_line == nullptr || version_line == nullptr || ok == nullptr) {
      ADD_FAILURE() << "the about form lacks Label3, Label4 or Label5";
      form.hide();
      return;
    }
    EXPECT_TRUE(form.is_shown());
    EXPECT_EQ(form.caption(), u"About");
    EXPECT_EQ(control_line->caption(), u"Control:QuorralSet");
    EXPECT_EQ(version_line->caption(), u"Version:1:0.0");
    EXPECT_EQ(ok->caption(), u"OK");

    driver_.click(*control_line);
    driver_.pump();
    EXPECT_TRUE(form.is_shown()) << "only OK closes the about box";
    driver_.click(*ok);
    driver_.pump();
    EXPECT_FALSE(form.is_shown()) << "OK hides the form, ending the modal show";
  });
  int live_before = live_forms(*rig_);
  probe_.ShowAboutBox();
  EXPECT_EQ(shows, 1);
  if (rig_->headless()) {
    EXPECT_EQ(live_during_show, live_before + 1);
    EXPECT_EQ(live_forms(*rig_), live_before) << "the form is unloaded after its show";
  }
  EXPECT_TRUE(host_.changes.empty()) << "ShowAboutBox is a method and notifies nothing";
}

TEST_F(AboutBoxTest, TwoCallsShowTwoFreshForms) {
  std::vector<std::u16string> control_lines;
  std::vector<std::u16string> captions;
  driver_.on_modal([&](Form& form) {
    Label* control_line = find_label(form, u"Label4");
    Label* ok = find_label(form, u"Label3");
    if (control_line == nullptr || ok == nullptr) {
      ADD_FAILURE() << "the about form lacks Label3 or Label4";
      form.hide();
      return;
    }
    control_lines.push_back(control_line->caption());
    captions.push_back(form.caption());
    // Marks this form, so a reused one would show the marks next time.
    control_line->set_caption(u"seen");
    form.set_caption(u"seen");
    driver_.click(*ok);
  });
  int created_before = forms_created(*rig_);
  int live_before = live_forms(*rig_);
  probe_.ShowAboutBox();
  probe_.ShowAboutBox();
  EXPECT_EQ(control_lines, (std::vector<std::u16string>{u"Control:QuorralSet",
                                                        u"Control:QuorralSet"}));
  EXPECT_EQ(captions, (std::vector<std::u16string>{u"About", u"About"}));
  if (rig_->headless()) {
    EXPECT_EQ(forms_created(*rig_) - created_before, 2);
    EXPECT_EQ(live_forms(*rig_), live_before);
  }
}

TEST_F(AboutBoxTest, AFailedShowLeavesNoFormBehind) {
  // A script that throws stands for a show that fails; only the headless
  // platform runs the script inside the show itself.
  if (!rig_->headless()) GTEST_SKIP() << "needs the headless modal script";
  int live_before = live_forms(*rig_);
  driver_.on_modal([](Form&) { throw std::runtime_error("show failed"); });
  EXPECT_THROW(probe_.ShowAboutBox(), std::runtime_error);
  EXPECT_EQ(live_forms(*rig_), live_before);

  int shows = 0;
  driver_.on_modal([&](Form& form) {
    ++shows;
    EXPECT_TRUE(form.is_shown());
    EXPECT_EQ(form.caption(), u"About");
    if (Label* ok = find_label(form, u"Label3")) driver_.click(*ok);
    if (form.is_shown()) form.hide();
  });
  probe_.ShowAboutBox();
  EXPECT_EQ(shows, 1) << "the next call builds and shows a fresh form";
  EXPECT_EQ(live_forms(*rig_), live_before);
}


// The title animation, tick by tick, on a form that is loaded but not shown
// (the ticks are driven by the test, not by the form's timer).
class AboutAnimationTest : public ::testing::Test {
 protected:
  std::unique_ptr<test::Rig> rig_ = test::make_rig();
  AboutForm about_{rig_->platform()};
  Label& title_ = *find_label(about_.form(), u"Label1");
  Label& subtitle_ = *find_label(about_.form(), u"Label2");

  // Ticks until the stage changes (at most `limit` ticks); returns the count.
  int ticks_until_stage(int stage, int limit = 1000) {
    int n = 0;
    while (about_.stage() != stage && n < limit) {
      about_.tick();
      ++n;
    }
    return n;
  }
};

TEST_F(AboutAnimationTest, TitleSlidesInFortyFourStepsOfFiftyTwips) {
  EXPECT_EQ(title_.bounds().left, -960);
  EXPECT_FALSE(subtitle_.visible());
  OleColor before = title_.fore_color();
  for (int i = 1; i <= 44; ++i) {
    about_.tick();
    ASSERT_EQ(title_.bounds().left, -960 + 50 * i) << "tick " << i;
  }
  EXPECT_EQ(title_.bounds().left, 1240);
  EXPECT_EQ(title_.fore_color(), before) << "the slide does not recolour";
  about_.tick();
  EXPECT_EQ(title_.bounds().left, 1240) << "the slide ends at or past 1200";
  EXPECT_EQ(title_.fore_color(), rgb(255, 255, 255));
}

TEST_F(AboutAnimationTest, TitleFadesFromWhiteToBlueAndTheFailedColourEndsTheFade) {
  for (int i = 0; i < 44; ++i) about_.tick();
  std::vector<OleColor> shown;
  while (about_.stage() == 0 && shown.size() < 100) {
    about_.tick();
    shown.push_back(title_.fore_color());
  }
  ASSERT_EQ(shown.size(), 27u) << "26 colours, then the tick whose colour fails";
  for (int i = 0; i < 26; ++i) {
    uint8_t c = static_cast<uint8_t>(255 - 10 * i);
    EXPECT_EQ(shown[i], rgb(c, c, 255)) << "fade step " << i;
  }
  EXPECT_EQ(shown.back(), rgb(5, 5, 255)) << "the failed colour leaves the last one shown";
  EXPECT_FALSE(subtitle_.visible());
}

TEST_F(AboutAnimationTest, SecondTitleShrinksByFivePointsThenTypesTheSubtitle) {
  ticks_until_stage(1);
  ASSERT_EQ(about_.stage(), 1);
  std::vector<double> sizes;
  while (about_.stage() == 1 && sizes.size() < 100) {
    about_.tick();
    EXPECT_TRUE(subtitle_.visible());
    sizes.push_back(subtitle_.font()->desc().size);
  }
  ASSERT_EQ(sizes.size(), 11u) << "68.25 down to 13.25, the first size not above 15";
  EXPECT_DOUBLE_EQ(sizes.front(), 63.25);
  EXPECT_DOUBLE_EQ(sizes.back(), 13.25);
  EXPECT_EQ(subtitle_.caption(), u"Skorv") << "typing starts on the next tick";

  const std::u16string& text = AboutForm::subtitle();
  ASSERT_EQ(text.size(), 33u);
  for (size_t i = 1; i <= text.size(); ++i) {
    about_.tick();
    ASSERT_EQ(subtitle_.caption(), u"Skorv" + text.substr(0, i)) << "tick " << i;
  }
  EXPECT_EQ(subtitle_.caption(), u"Skorv\rActivex controls-\rQuorral Series");
  for (int i = 0; i < 50; ++i) about_.tick();
  EXPECT_EQ(subtitle_.caption(), u"Skorv\rActivex controls-\rQuorral Series")
      << "ticks past the end add nothing";
  EXPECT_EQ(about_.timer_interval(), 1);
}

TEST_F(AboutAnimationTest, TheCharacterCounterOverflowStopsTheTimer) {
  ticks_until_stage(2);
  // The counter is 16-bit: the tick that would take it past 32767 fails
  // and stops the timer; nothing changes after that.
  for (int i = 0; i < 32767; ++i) about_.tick();
  EXPECT_EQ(about_.timer_interval(), 1);
  about_.tick();
  EXPECT_EQ(about_.timer_interval(), 0);
  std::u16string caption = subtitle_.caption();
  about_.tick();
  EXPECT_EQ(subtitle_.caption(), caption);
}

TEST_F(AboutAnimationTest, ChildrenStandWhereTheFormPutsThem) {
  struct Row {
    const char16_t* name;
    Bounds at;
  };
  const Row rows[] = {
      {u"Label1", {-960, 1080, 2175, 495}}, {u"Label2", {1080, 240, 2295, 1335}},
      {u"Label3", {5880, 3240, 1215, 495}}, {u"Label4", {6270, 120, 2460, 300}},
      {u"Label5", {6375, 600, 1560, 240}},  {u"Label8", {2280, 3600, 2760, 255}},
  };
  for (const Row& row : rows) {
    Element* e = about_.form().find(row.name);
    ASSERT_NE(e, nullptr) << std::string(row.name, row.name + std::char_traits<char16_t>::length(row.name));
    EXPECT_NEAR(e->bounds().left, row.at.left, 15);
    EXPECT_NEAR(e->bounds().top, row.at.top, 15);
    EXPECT_NEAR(e->bounds().width, row.at.width, 15);
    EXPECT_NEAR(e->bounds().height, row.at.height, 15);
  }
  EXPECT_EQ(subtitle_.font()->desc().name, u"Arial");
  EXPECT_DOUBLE_EQ(subtitle_.font()->desc().size, 68.25);
  EXPECT_TRUE(subtitle_.font()->desc().bold());
  EXPECT_DOUBLE_EQ(title_.font()->desc().size, 24);
}

TEST_F(AboutBoxTest, OkClosesTheBoxMidAnimation) {
  int shows = 0;
  driver_.on_modal([&](Form& form) {
    ++shows;
    Label* title = find_label(form, u"Label1");
    Label* ok = find_label(form, u"Label3");
    if (title == nullptr || ok == nullptr) {
      form.hide();
      return;
    }
    if (rig_->headless()) {
      EXPECT_EQ(title->bounds().left, -960) << "each showing slides from the edge";
    }
    driver_.click(*ok);
    driver_.pump();
    EXPECT_FALSE(form.is_shown());
  });
  probe_.ShowAboutBox();
  probe_.ShowAboutBox();
  EXPECT_EQ(shows, 2);
}

TEST_F(AboutBoxTest, TheTimerRunsTheAnimationAndTheIconTellsWhereTheNameComesFrom) {
  std::vector<uint32_t> styles;
  driver_.on_message_box([&](const std::u16string& text, const std::u16string&, uint32_t style) {
    EXPECT_EQ(text, AboutForm::name_story());
    styles.push_back(style);
    return int32_t(kIdOk);
  });
  AboutForm about(rig_->platform());
  Label& subtitle = *find_label(about.form(), u"Label2");
  const std::u16string done = u"Skorv\rActivex controls-\rQuorral Series";
  if (rig_->headless()) {
    // 44 slide, 27 fade, 11 shrink and 33 typing ticks of 1 ms each.
    driver_.advance_time(114);
    EXPECT_NE(subtitle.caption(), done);
    driver_.advance_time(1);
    EXPECT_EQ(subtitle.caption(), done);
  } else {
    for (int i = 0; i < 500 && subtitle.caption() != done; ++i) driver_.advance_time(20);
    EXPECT_EQ(subtitle.caption(), done) << "the real timer ran the animation to its end";
  }
  auto* icon = dynamic_cast<Image*>(about.form().find(u"Image1"));
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(icon->picture(), nullptr);
  about.form().show();
  driver_.click(*icon);
  driver_.pump();
  EXPECT_EQ(styles, std::vector<uint32_t>{kMbOk | kMbIconInformation}) << "OK only";
  about.form().hide();
  driver_.on_message_box({});
}

TEST_F(AboutBoxTest, CreditsShowEightLabelsAndDoneClosesThem) {
  int shows = 0;
  int live_before = live_forms(*rig_);
  driver_.on_modal([&](Form& form) {
    ++shows;
    EXPECT_EQ(form.find(u"Label9"), nullptr);
    for (int i = 1; i <= 8; ++i) {
      Label* label = find_label(form, u"Label" + std::u16string(1, char16_t(u'0' + i)));
      ASSERT_NE(label, nullptr) << "Label" << i;
      EXPECT_FALSE(label->caption().empty());
    }
    auto* done = dynamic_cast<CommandButton*>(form.find(u"Command1"));
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->caption(), u"Done");
    EXPECT_NEAR(done->bounds().left, 5160, 15);
    EXPECT_NEAR(done->bounds().top, 5400, 15);
    driver_.click(*done);
    driver_.pump();
    EXPECT_FALSE(form.is_shown());
  });
  show_credits(rig_->platform());
  EXPECT_EQ(shows, 1);
  if (rig_->headless()) {
    EXPECT_EQ(live_forms(*rig_), live_before) << "Done unloads the credits";
  }
}

}  // namespace
}  // namespace qs
