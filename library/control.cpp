#include "library/control.h"

#include "core/skip_on_failure.h"
#include "library/about_form.h"

namespace qs {

Control::Control(std::unique_ptr<Surface> surface, Host& host)
    : surface_(std::move(surface)), host_(host) {
  surface_->on_resize = [this] { Resize(); };
}

Control::~Control() { surface_->on_resize = nullptr; }

void Control::raise_mouse_event(int dispid, MouseReport& report) {
  Variant button(report.button), shift(report.shift), x(report.x), y(report.y);
  raise_event(dispid, {&button, &shift, &x, &y});
  SkipOnFailure s;
  s.step([&] { report.button = button.to_integer(); });
  s.step([&] { report.shift = shift.to_integer(); });
  s.step([&] { report.x = x.to_single(); });
  s.step([&] { report.y = y.to_single(); });
}

void Control::raise_key_event(int dispid, int16_t& code, int16_t* shift) {
  Variant v_code(code);
  Variant v_shift(shift != nullptr ? *shift : int16_t{0});
  std::vector<Variant*> args{&v_code};
  if (shift != nullptr) args.push_back(&v_shift);
  raise_event(dispid, std::move(args));
  SkipOnFailure s;
  s.step([&] { code = v_code.to_integer(); });
  if (shift != nullptr) s.step([&] { *shift = v_shift.to_integer(); });
}

void Control::ShowAboutBox() { show_about_box(surface_->platform()); }

}  // namespace qs
