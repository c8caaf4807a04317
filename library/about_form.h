// The library's forms: the about box every control shows through
// ShowAboutBox, with its title animation, and the credits form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace qs {

// The about box: the library's name and version, and a title that slides
// in, fades from white to blue, then a second title that shrinks and types
// a subtitle. The animation advances one step per tick of the form's timer.
class AboutForm {
 public:
  // Creates and loads the form on the platform; the animation starts over.
  explicit AboutForm(Platform& platform);
  ~AboutForm();
  AboutForm(const AboutForm&) = delete;
  AboutForm& operator=(const AboutForm&) = delete;

  // Shows the form modally; returns when the user closed it ("OK").
  void show_modal();
  Form& form() { return *form_; }

  // One step of the title animation. Errors inside a step are swallowed;
  // the step after it still runs.
  void tick();
  // The animation timer's interval in milliseconds: 1 while it runs, 0 once
  // the animation has stopped for good.
  int32_t timer_interval() const;
  // The animation's stage: 0 sliding and fading, 1 shrinking, 2 typing.
  int stage() const { return stage_; }

  // The text typed under the second title, one character per tick.
  static const std::u16string& subtitle();
  // The paragraph the icon's message box shows.
  static const std::u16string& name_story();

 private:
  void fade_step();
  void shrink_step();
  void type_step();

  std::unique_ptr<Form> form_;
  Platform& platform_;
  // Timer1 runs from the moment the form is loaded: its hidden window holds it.
  std::unique_ptr<MessageWindow> timer_window_;
  Timer* timer_ = nullptr;
  Label* title_ = nullptr;     // Label1
  Label* subtitle_ = nullptr;  // Label2
  Label* ok_ = nullptr;        // Label3
  int stage_ = 0;
  double red_ = 0;
  double green_ = 0;
  double blue_ = 0;
  int16_t typed_ = 0;
};

// Creates the about form if none exists on this thread, shows it modally
// and unloads it. A call while the form is already showing shows that same
// form again, which the platform refuses (error 400).
void show_about_box(Platform& platform);

// The credits form: eight labels of credits and a "Done" button that
// closes it.
class CreditsForm {
 public:
  explicit CreditsForm(Platform& platform);
  ~CreditsForm();
  CreditsForm(const CreditsForm&) = delete;
  CreditsForm& operator=(const CreditsForm&) = delete;

  void show_modal() { form_->show_modal(); }
  Form& form() { return *form_; }

 private:
  std::unique_ptr<Form> form_;
};

// Creates the credits form, shows it modally and unloads it once "Done"
// closed it.
void show_credits(Platform& platform);

}  // namespace qs
