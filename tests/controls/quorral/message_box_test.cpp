// The tray control's message box: button sets and answers, placement, the
// bubble's shape and outline, and the utility methods beside it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/quorral/message_box_form.h"
#include "controls/quorral/quorral.h"
#include "controls/quorral/utilities.h"
#include "core/runtime_error.h"
#include "tests/support/recording_host.h"
#include "tests/support/rig.h"

#if !defined(_WIN32)
#include "platform/headless/headless_form.h"
#include "platform/headless/headless_platform.h"
#endif

namespace qs {
namespace {

std::u16string button_name(int i) { return u"Command1(" + std::u16string(1, char16_t(u'0' + i)) + u")"; }

CommandButton* button_of(Form& form, int i) {
  return dynamic_cast<CommandButton*>(form.find(button_name(i)));
}

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { msg_box_request() = MsgBoxRequest{}; }
  void TearDown() override { msg_box_request() = MsgBoxRequest{}; }

  // Shows a box with the buttons value and runs `act` with its form.
  int16_t show(const Variant& buttons, const std::function<void(Form&)>& act,
               const Variant& spike = Variant(int32_t(0))) {
    driver_.on_modal([&](Form& form) {
      act(form);
      if (form.is_shown()) form.hide();
    });
    return msg_box(rig_->platform(), nullptr, Variant(u"Prompt"), buttons, Variant::missing(),
                   Variant::missing(), spike);
  }

  std::unique_ptr<test::Rig> rig_ = test::make_rig();
  Driver& driver_ = rig_->driver();
};

TEST_F(MessageBoxTest, ButtonSetsShowTheirCaptionsAndAnswerByCaption) {
  struct Row {
    int32_t buttons;
    std::vector<std::u16string> captions;  // per index; "" for a hidden button
    std::vector<int16_t> answers;          // per index; 0 for a hidden button
  };
  const Row rows[] = {
      {0, {u"", u"OK", u""}, {0, 1, 0}},
      {1, {u"Yes", u"", u"No"}, {3, 0, 4}},
      {2, {u"OK", u"", u"Cancel"}, {1, 0, 2}},
      {3, {u"Yes", u"No", u"Cancel"}, {3, 4, 2}},
      {4, {u"Abort", u"", u"Retry"}, {5, 0, 6}},
      {5, {u"Abort", u"Retry", u"Ignore"}, {5, 6, 7}},
      {6, {u"", u"OK", u""}, {0, 1, 0}},
      {97, {u"Abort", u"Retry", u"P on Keyboard!"}, {5, 6, 8}},
      {98, {u"Gone", u"to Life", u"Shop"}, {8, 8, 8}},
      {99, {u"Skorv Rules", u"The", u"Planet"}, {8, 8, 8}},
      {-1, {u"", u"OK", u""}, {0, 1, 0}},
  };
  for (const Row& row : rows) {
    for (int press = 0; press < 3; ++press) {
      if (row.answers[press] == 0) continue;
      const int16_t answer = show(Variant(row.buttons), [&](Form& form) {
        for (int i = 0; i < 3; ++i) {
          CommandButton* b = button_of(form, i);
          ASSERT_NE(b, nullptr);
          EXPECT_EQ(b->visible(), !row.captions[i].empty()) << row.buttons << " button " << i;
          if (b->visible()) {
            EXPECT_EQ(b->caption(), row.captions[i]) << row.buttons;
          }
        }
        driver_.click(*button_of(form, press));
        driver_.pump();
        EXPECT_FALSE(form.is_shown()) << "a button closes the box";
      });
      EXPECT_EQ(answer, row.answers[press]) << "buttons " << row.buttons << " press " << press;
    }
  }
}

TEST_F(MessageBoxTest, AnswerCodesFollowTheLowerCaseCaption) {
  const std::pair<const char16_t*, int16_t> rows[] = {
      {u"OK", 1},    {u"cAnCeL", 2}, {u"YES", 3},   {u"No", 4}, {u"Abort", 5},
      {u"Retry", 6}, {u"IGNORE", 7}, {u"Other", 8}, {u"", 8},   {u"no ", 8},
  };
  for (const auto& [caption, code] : rows) EXPECT_EQ(answer_for_caption(caption), code) << code;
}

TEST_F(MessageBoxTest, ClosingWithoutAButtonKeepsThePreviousAnswer) {
  EXPECT_EQ(show(Variant(int32_t(1)), [](Form& form) { form.hide(); }), 0)
      << "0 while no answer was ever given";
  EXPECT_EQ(show(Variant(int32_t(1)), [&](Form& form) { driver_.click(*button_of(form, 2)); }), 4);
  EXPECT_EQ(show(Variant(int32_t(3)), [](Form& form) { form.hide(); }), 4);
  // The credits form sets no answer either.
  int credits = 0;
  const int16_t after_credits = show(Variant(int32_t(100)), [&](Form& form) {
    ++credits;
    auto* done = dynamic_cast<CommandButton*>(form.find(u"Command1"));
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->caption(), u"Done");
    driver_.click(*done);
  });
  EXPECT_EQ(credits, 1);
  EXPECT_EQ(after_credits, 4);
}

TEST_F(MessageBoxTest, ThePromptAndThePlaceComeFromTheRequest) {
  Platform& p = rig_->platform();
  driver_.on_modal([&](Form& form) {
    auto* prompt = dynamic_cast<Label*>(form.find(u"Label1"));
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->caption(), u"Hello");
    EXPECT_NEAR(form.left(), 1500, 15);
    EXPECT_NEAR(form.top(), 900, 15);
    form.hide();
  });
  msg_box(p, nullptr, Variant(u"Hello"), Variant(int32_t(0)), Variant(int32_t(900)),
          Variant(int32_t(1500)), Variant(int32_t(0)));
  // Missing places centre the box and are written back into the request.
  driver_.on_modal([&](Form& form) {
    EXPECT_NEAR(form.left(), (p.screen_width() - 4140) / 2, 15);
    EXPECT_NEAR(form.top(), (p.screen_height() - 2595) / 2, 15);
    auto* prompt = dynamic_cast<Label*>(form.find(u"Label1"));
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->caption(), u"One day, I will disappear and get a life!");
    form.hide();
  });
  msg_box(p, nullptr, Variant(u"Hello"), Variant(int32_t(98)), Variant::missing(),
          Variant(u"left"), Variant(u"spike"));
  EXPECT_DOUBLE_EQ(msg_box_request().Top.to_double(), (p.screen_height() - 2595) / 2);
  EXPECT_DOUBLE_EQ(msg_box_request().Left.to_double(), (p.screen_width() - 4140) / 2);
  EXPECT_EQ(msg_box_request().Spike.to_long(), 0);
}

TEST_F(MessageBoxTest, ShowButtonsNeverHidesAButton) {
  msg_box_request().Prompt = Variant(u"x");
  MessageBoxForm box(rig_->platform());
  auto visible = [&] {
    std::vector<bool> v;
    for (int i = 0; i < 3; ++i) v.push_back(box.button(i).visible());
    return v;
  };
  EXPECT_EQ(visible(), (std::vector<bool>{false, true, false}));
  box.ShowButtons(Variant(int32_t(2)));
  EXPECT_EQ(visible(), (std::vector<bool>{true, true, true}));
  box.ShowButtons(Variant(int32_t(1)));
  EXPECT_EQ(visible(), (std::vector<bool>{true, true, true}));
}

TEST_F(MessageBoxTest, FloatWindowAcceptsOnlyLiveWindowsAndRaisesNothing) {
  Platform& p = rig_->platform();
  std::unique_ptr<Surface> surface = p.create_surface();
  const auto handle = static_cast<int32_t>(surface->window_handle());
  EXPECT_TRUE(float_window(p, Variant(handle), true));
  EXPECT_TRUE(float_window(p, Variant(handle), false));
  EXPECT_FALSE(float_window(p, Variant(int32_t(0)), true));
  EXPECT_FALSE(float_window(p, Variant(u"not a handle"), true));
  EXPECT_FALSE(float_window(p, Variant(1e12), true)) << "beyond 32 bits: no call";
  surface.reset();
  EXPECT_FALSE(float_window(p, Variant(handle), true)) << "a destroyed window";
}

TEST_F(MessageBoxTest, BoxesLeaveNoRegionBehind) {
  // A thousand on the in-memory platform; real windows take some 50 ms each,
  // so fewer there, counted by the region service's own bookkeeping.
  const int boxes = rig_->headless() ? 1000 : 60;
  Regions& regions = rig_->platform().regions();
  const int before = regions.live_regions();
  driver_.on_modal([&](Form& form) { driver_.click(*button_of(form, 1)); });
  for (int i = 0; i < boxes; ++i) {
    msg_box(rig_->platform(), nullptr, Variant(u"x"), Variant(int32_t(0)), Variant::missing(),
            Variant::missing(), Variant(int32_t(i % 7)));
  }
  EXPECT_EQ(regions.live_regions(), before);
  EXPECT_EQ(msg_box_request().Result.to_integer(), 1);
}

// The control's methods hand the request over with its own picture.
TEST_F(MessageBoxTest, TheControlsMsgBoxUsesItsPictureAndReturnsTheAnswer) {
  test::RecordingHost host;
  Quorral q(rig_->platform().create_surface(), host);
  q.InitProperties();
  PictureRef background = q.MsgBoxPicture();
  ASSERT_NE(background, nullptr) << "a new instance holds an empty picture object";
  driver_.on_modal([&](Form& form) {
    EXPECT_EQ(form.picture(), background);
    CommandButton* no = button_of(form, 2);
    ASSERT_NE(no, nullptr);
    EXPECT_TRUE(no->visible());
    EXPECT_EQ(no->caption(), u"No");
    driver_.click(*no);
  });
  EXPECT_EQ(q.MsgBox(u"Sure?", Variant(int32_t(1)), Variant::missing(), Variant::missing(),
                     Variant(int32_t(3))),
            4);
  EXPECT_EQ(q.WinCrypt(Variant(u"abc"), Variant(u"ab")).to_text(), u"gde");
  EXPECT_FALSE(q.FloatWindow(Variant(int32_t(0)), true));
  EXPECT_EQ(q.PlaySound(Variant(u"")).type(), VarType::kInteger);
  EXPECT_TRUE(host.changes.empty()) << "the utility methods notify nothing";
}

#if !defined(_WIN32)
// Exact shapes and recorded calls, on the in-memory platform.
class HeadlessMessageBoxTest : public MessageBoxTest {
 protected:
  HeadlessPlatform& platform() { return static_cast<HeadlessPlatform&>(rig_->platform()); }

  // The window region and the painted outline of a box with that spike.
  void shapes(const Variant& spike, RegionShape& window, RegionShape& outline) {
    show(Variant(int32_t(0)), [&](Form& form) {
      auto& f = dynamic_cast<HeadlessForm&>(form);
      ASSERT_NE(f.window_region(), nullptr);
      window = *f.window_region();
      ASSERT_EQ(f.region_paints().size(), 1u) << "the outline is filled once";
      EXPECT_EQ(f.region_paints()[0].brush, platform().regions().get_stock_object(kBlackBrush));
      outline = RegionShape::from_rects(f.region_paints()[0].rects);
      EXPECT_EQ(form.scale_width(), 276);
      EXPECT_EQ(form.scale_height(), 173);
    }, spike);
  }
};

TEST_F(HeadlessMessageBoxTest, SpikesReachTheCornersAndTheOutlineIsThreePixelsWide) {
  // The client area is 4140 x 2595 twips: 276 x 173 pixels.
  const int W = 276, H = 173;
  struct Corner {
    int x, y;
  };
  const Corner corners[] = {{1, 1}, {W - 2, 1}, {W - 2, H - 2}, {1, H - 2}};
  struct Row {
    Variant spike;
    std::vector<bool> reached;  // per corner 1..4
  };
  const Row rows[] = {
      {Variant(int32_t(0)), {false, false, false, false}},
      {Variant(int32_t(1)), {true, false, false, false}},
      {Variant(int32_t(2)), {false, true, false, false}},
      {Variant(int32_t(3)), {false, false, true, false}},
      {Variant(int32_t(4)), {false, false, false, true}},
      {Variant(int32_t(5)), {true, true, true, true}},
      {Variant(int32_t(6)), {false, false, false, false}},
      {Variant(int32_t(-1)), {false, false, false, false}},
  };
  for (const Row& row : rows) {
    RegionShape window, outline;
    shapes(row.spike, window, outline);
    for (int c = 0; c < 4; ++c) {
      EXPECT_EQ(window.contains(corners[c].x, corners[c].y), row.reached[c])
          << "spike " << row.spike.to_long() << " corner " << c + 1;
      EXPECT_EQ(outline.contains(corners[c].x, corners[c].y), row.reached[c])
          << "the outline follows the spike " << row.spike.to_long();
    }
    EXPECT_TRUE(window.contains(W / 2, H / 2));
    EXPECT_FALSE(outline.contains(W / 2, H / 2)) << "only the rim is painted";
    // Along the top of the ellipse the rim is 3 pixels deep.
    for (int y = 0; y < 3; ++y) EXPECT_TRUE(outline.contains(W / 2, y)) << y;
    EXPECT_FALSE(outline.contains(W / 2, 3));
  }
}

TEST_F(HeadlessMessageBoxTest, ABackgroundPictureAndTheRecordedCalls) {
  auto picture = std::make_shared<Picture>();
  driver_.on_modal([&](Form& form) {
    EXPECT_EQ(form.picture(), picture);
    EXPECT_EQ(form.border_style(), 0) << "no title bar, no border";
    form.hide();
  });
  msg_box(platform(), picture, Variant(u"x"), Variant::missing(), Variant::missing(),
          Variant::missing(), Variant::missing());

  platform().set_sound_result(0);
  Variant r = play_sound(platform(), Variant(u"C:\\no such.wav"));
  EXPECT_EQ(r.type(), VarType::kInteger);
  EXPECT_EQ(r.to_integer(), 0);
  ASSERT_EQ(platform().sounds().size(), 1u);
  EXPECT_EQ(platform().sounds()[0].name, "C:\\no such.wav");
  EXPECT_EQ(platform().sounds()[0].flags, 1u) << "asynchronous only";
}

TEST_F(HeadlessMessageBoxTest, ABoxRefusedAModalShowStaysUpModelessUntilAButtonIsPressed) {
  // Answered once, so the modeless call's own result is that earlier answer.
  show(Variant(int32_t(0)), [&](Form& form) { driver_.click(*button_of(form, 1)); });
  ASSERT_EQ(msg_box_request().Result.to_integer(), 1);
  const int live_before = platform().live_forms();
  Form* box = nullptr;
  driver_.on_modal([&](Form& form) {
    box = &form;
    throw RuntimeError(400);  // the container takes no modal form now
  });
  const int16_t answer = msg_box(platform(), nullptr, Variant(u"Later"), Variant(int32_t(1)),
                                 Variant::missing(), Variant::missing(), Variant(int32_t(0)));
  EXPECT_EQ(answer, 1) << "no button pressed yet: the previous answer";
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->is_shown());
  EXPECT_EQ(open_modeless_boxes(), 1);
  EXPECT_EQ(platform().live_forms(), live_before + 1);

  driver_.click(*button_of(*box, 2));
  driver_.pump();
  EXPECT_EQ(msg_box_request().Result.to_integer(), 4) << "No";
  EXPECT_EQ(open_modeless_boxes(), 0) << "a pressed box is released";
  EXPECT_EQ(platform().live_forms(), live_before);
}

#endif

}  // namespace
}  // namespace qs
