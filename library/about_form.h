// The library's about box: one per thread, built, shown modally and unloaded
// by ShowAboutBox.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace qs {

class AboutForm {
 public:
  // Creates and loads the form on the platform.
  explicit AboutForm(Platform& platform);
  ~AboutForm();

  // Shows the form modally; returns when the user closed it ("OK").
  void show_modal();
  Form& form() { return *form_; }

 private:
  std::unique_ptr<Form> form_;
  Label* ok_ = nullptr;
};

// Creates the about form if none exists on this thread, shows it modally
// and unloads it. A call while the form is already showing shows that same
// form again, which the platform refuses (error 400).
void show_about_box(Platform& platform);

}  // namespace qs
