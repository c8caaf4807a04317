// The library's about box, shown through a control's ShowAboutBox and closed
// as a user closes it, on the platform this executable is built for.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace qs
