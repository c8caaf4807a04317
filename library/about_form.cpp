#include "library/about_form.h"

#include <string>

#include "library/class_list.h"

namespace qs {

namespace {

std::u16string decimal(int n) {
  std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

thread_local AboutForm* t_about = nullptr;

}  // namespace

AboutForm::AboutForm(Platform& platform) : form_(platform.create_form(u"frmAbout")) {
  form_->set_caption(u"About");
  form_->set_back_color(rgb(0, 0, 0));
  form_->set_client_size(7290, 3900);

  Label& control_line = form_->create_label(u"Label4");
  control_line.move(6270, 120, 825, 300);
  control_line.set_alignment(Alignment::kRight);
  control_line.set_back_style(0);
  control_line.set_fore_color(rgb(255, 255, 255));
  control_line.set_caption(u"Control:" + std::u16string(kLibraryName));

  Label& version_line = form_->create_label(u"Label5");
  version_line.move(6375, 600, 825, 240);
  version_line.set_alignment(Alignment::kRight);
  version_line.set_back_style(0);
  version_line.set_fore_color(rgb(255, 255, 255));
  version_line.set_caption(u"Version:" + decimal(kVersionMajor) + u":" + decimal(kVersionMinor) +
                           u"." + decimal(kVersionRevision));

  ok_ = &form_->create_label(u"Label3");
  ok_->move(5880, 3240, 1215, 495);
  ok_->set_alignment(Alignment::kCenter);
  ok_->set_back_style(0);
  ok_->set_fore_color(rgb(255, 255, 255));
  ok_->set_caption(u"OK");
  ok_->on_click = [this] { form_->hide(); };
}

AboutForm::~AboutForm() = default;

void AboutForm::show_modal() { form_->show_modal(); }

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

}  // namespace qs
