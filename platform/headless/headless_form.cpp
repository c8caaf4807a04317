#include "platform/headless/headless_form.h"

#include "core/runtime_error.h"
#include "platform/headless/headless_platform.h"

namespace qs {

HeadlessForm::HeadlessForm(HeadlessPlatform& platform, std::u16string name)
    : HeadlessContainerOf(platform),
      name_(std::move(name)),
      caption_(name_),
      serial_(platform.form_loaded()) {}

HeadlessForm::~HeadlessForm() { headless_platform().form_unloaded(*this); }

void HeadlessForm::show_modal() { headless_platform().run_modal(*this); }

void HeadlessForm::set_border_style(int16_t style) {
  if (style != 0 && style != 3) throw RuntimeError(kErrInvalidPropertyValue);
  border_style_ = style;
}

bool HeadlessForm::accepts_input() const {
  HeadlessForm* top = headless_platform().modal_form();
  return shown_ && (top == nullptr || top == this);
}

}  // namespace qs
