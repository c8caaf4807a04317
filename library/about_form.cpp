#include "library/about_form.h"

#include <string>

#include "core/runtime_error.h"
#include "core/skip_on_failure.h"
#include "library/class_list.h"

namespace qs {

namespace {

std::u16string decimal(int n) {
  std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

thread_local AboutForm* t_about = nullptr;

FontRef font_of(double size, bool bold, bool italic = false,
                std::u16string name = FontDesc{}.name) {
  FontDesc desc;
  desc.name = std::move(name);
  desc.size = size;
  desc.weight = bold ? 700 : 400;
  desc.italic = italic;
  return make_font(desc);
}

// A transparent label of the about box, white unless told otherwise.
Label& add_label(Form& form, const std::u16string& name, Bounds at, const std::u16string& caption,
                 Alignment alignment = Alignment::kLeft) {
  Label& label = form.create_label(name);
  label.move(at.left, at.top, at.width, at.height);
  label.set_back_style(0);
  label.set_fore_color(rgb(255, 255, 255));
  label.set_alignment(alignment);
  label.set_caption(caption);
  return label;
}

// Where the sliding title stops and how far it moves per tick (twips).
constexpr float kSlideEnd = 1200;
constexpr float kSlideStep = 50;
constexpr int kFadeStep = 10;
constexpr double kShrinkStep = 5;
constexpr double kShrinkEnd = 15;
// The animation timer's interval while it runs (ms).
constexpr int32_t kTickInterval = 1;

}  // namespace

const std::u16string& AboutForm::name_story() {
  static const std::u16string text =
      u"The name comes from a word the first developers made up for a tool that "
      u"does a little of everything: a dual list, a button of any shape, a tray "
      u"icon. It stuck.";
  return text;
}

const std::u16string& AboutForm::subtitle() {
  static const std::u16string text =
      std::u16string(1, u'\r') + u"Activex controls-" + std::u16string(1, u'\r') + u"Quorral Series";
  return text;
}

AboutForm::AboutForm(Platform& platform)
    : form_(platform.create_form(u"frmAbout")), platform_(platform) {
  form_->set_caption(u"About");
  form_->set_back_color(rgb(0, 0, 0));
  form_->set_client_size(8820, 3900);

  title_ = &add_label(*form_, u"Label1", {-960, 1080, 2175, 495}, u"Quorral");
  title_->set_font(font_of(24, true));

  subtitle_ = &add_label(*form_, u"Label2", {1080, 240, 2295, 1335}, u"Skorv", Alignment::kCenter);
  subtitle_->set_font(font_of(68.25, true, false, u"Arial"));
  subtitle_->set_visible(false);

  ok_ = &add_label(*form_, u"Label3", {5880, 3240, 1215, 495}, u"OK", Alignment::kCenter);
  ok_->on_click = [this] { form_->hide(); };

  // The control and version lines, each wide enough for its text at its font.
  Label& control_line = add_label(*form_, u"Label4", {6270, 120, 2460, 300},
                                  u"Control:" + std::u16string(kLibraryName), Alignment::kRight);
  control_line.set_font(font_of(12, true));
  Label& version_line =
      add_label(*form_, u"Label5", {6375, 600, 1560, 240},
                u"Version:" + decimal(kVersionMajor) + u":" + decimal(kVersionMinor) + u"." +
                    decimal(kVersionRevision),
                Alignment::kRight);
  version_line.set_font(font_of(9.75, true, true));

  add_label(*form_, u"Label6", {2640, 1680, 4455, 960},
            u"Six visual controls for forms: a dual list, shaped buttons, a colour check box, "
            u"a path box, a tray icon with utilities and a shadow label.");
  add_label(*form_, u"Label7", {240, 2640, 5520, 720},
            u"Written and maintained by the QuorralSet developers. The software and its "
            u"documentation are protected by copyright; all rights reserved.");
  add_label(*form_, u"Label8", {2280, 3600, 2760, 255}, u"quorralset@example.org");

  Image& icon = form_->create_image(u"Image1");
  icon.move(1920, 1800, 615, 375);
  icon.set_picture(platform.library_icon());
  icon.on_click = [this] {
    platform_.message_box(name_story(), u"About", kMbOk | kMbIconInformation);
  };

  // The animation runs on its timer from the moment the form is loaded.
  timer_window_ = platform.create_message_window();
  timer_ = &timer_window_->create_timer();
  timer_->on_timer = [this] { tick(); };
  timer_->set_interval(kTickInterval);
}

AboutForm::~AboutForm() = default;

void AboutForm::show_modal() { form_->show_modal(); }

int32_t AboutForm::timer_interval() const { return timer_->interval(); }

void AboutForm::tick() {
  if (timer_interval() == 0) return;
  // The slide: until the title's left edge reaches 1200 twips.
  bool slid = false;
  SkipOnFailure slide;
  slide.step([&] {
    if (title_->bounds().left < kSlideEnd) {
      title_->move(title_->bounds().left + kSlideStep);
      red_ = green_ = blue_ = 255;
      slid = true;
    }
  });
  if (slid) return;
  switch (stage_) {
    case 0:
      fade_step();
      break;
    case 1:
      shrink_step();
      break;
    default:
      type_step();
      break;
  }
}

void AboutForm::fade_step() {
  // White to blue in steps of 10: the colour is formed before the step, so
  // the last shown is (5, 5, 255) and the next, with red below 0, fails and
  // ends the fade.
  SkipOnFailure steps;
  steps.step([&] { title_->set_fore_color(make_rgb(red_, green_, blue_)); });
  red_ -= kFadeStep;
  green_ -= kFadeStep;
  if (steps.failed()) stage_ = 1;
}

void AboutForm::shrink_step() {
  SkipOnFailure steps;
  steps.step([&] { subtitle_->set_visible(true); });
  double size = kShrinkEnd;
  steps.step([&] {
    FontRef font = subtitle_->font();
    FontDesc desc = font ? font->desc() : FontDesc{};
    desc.size -= kShrinkStep;
    size = desc.size;
    subtitle_->set_font(make_font(desc));
  });
  if (size <= kShrinkEnd) stage_ = 2;
}

void AboutForm::type_step() {
  SkipOnFailure steps;
  // The counter is a 16-bit integer: past 32767 the addition overflows, the
  // error ends the typing and stops the timer.
  steps.step([&] {
    if (typed_ == INT16_MAX) throw RuntimeError(kErrOverflow);
    ++typed_;
  });
  steps.step([&] {
    const std::u16string& text = subtitle();
    if (typed_ >= 1 && static_cast<size_t>(typed_) <= text.size()) {
      subtitle_->set_caption(subtitle_->caption() + text[static_cast<size_t>(typed_) - 1]);
    }
  });
  if (steps.failed()) timer_->set_interval(0);
}

void show_about_box(Platform& platform) {
  std::unique_ptr<AboutForm> owned;
  if (t_about == nullptr) {
    owned = std::make_unique<AboutForm>(platform);
    t_about = owned.get();
  }
  AboutForm* form = t_about;
  try {
    form->show_modal();
  } catch (...) {
    if (owned) t_about = nullptr;
    throw;
  }
  // Unload the form and drop the reference so the next call builds a fresh one.
  if (owned) t_about = nullptr;
}

CreditsForm::CreditsForm(Platform& platform) : form_(platform.create_form(u"Easter")) {
  form_->set_caption(u"Credits");
  form_->set_client_size(6615, 5715);
  static const char16_t* const kCredits[] = {
      u"QuorralSet",
      u"Controls, forms and server: the QuorralSet developers",
      u"Regions and shapes: the outline team",
      u"Tray and utilities: the notification team",
      u"Testing on real hosts: everyone who dropped a control on a form",
      u"Thanks to the users who reported what broke",
      u"Dedicated to the patient families of developers",
      u"Thank you for using QuorralSet",
  };
  float top = 960;
  int n = 1;
  for (const char16_t* credit : kCredits) {
    Label& label = form_->create_label(u"Label" + decimal(n));
    label.move(240, top, 6135, 495);
    label.set_back_style(0);
    label.set_alignment(Alignment::kCenter);
    label.set_caption(credit);
    if (n == 1) label.set_font(font_of(18, true));
    top += n == 1 ? 720 : 540;
    ++n;
  }
  Image& icon = form_->create_image(u"Image1");
  icon.move(240, 240, 480, 480);
  icon.set_picture(platform.library_icon());
  CommandButton& done = form_->create_command_button(u"Command1");
  done.move(5160, 5400, 1335, 255);
  done.set_caption(u"Done");
  done.on_click = [this] { form_->hide(); };
}

CreditsForm::~CreditsForm() = default;

void show_credits(Platform& platform) {
  CreditsForm form(platform);
  form.show_modal();
}

}  // namespace qs
