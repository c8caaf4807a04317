#include "library/control.h"

#include "library/about_form.h"

namespace qs {

Control::Control(std::unique_ptr<Surface> surface, Host& host)
    : surface_(std::move(surface)), host_(host) {
  surface_->on_resize = [this] { Resize(); };
}

Control::~Control() { surface_->on_resize = nullptr; }

void Control::ShowAboutBox() { show_about_box(surface_->platform()); }

}  // namespace qs
