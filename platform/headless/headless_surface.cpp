#include "platform/headless/headless_surface.h"

#include "core/runtime_error.h"
#include "platform/headless/headless_keys.h"
#include "platform/headless/headless_platform.h"

namespace qs {

HeadlessSurface::HeadlessSurface(HeadlessPlatform& platform)
    : HeadlessContainerOf(platform), window_handle_(platform.next_window_handle()) {
  platform.window_created(window_handle_);
}

HeadlessSurface::~HeadlessSurface() { headless_platform().window_destroyed(window_handle_); }

void HeadlessSurface::set_height(float height) {
  if (height == scale_height_) return;
  resize(scale_width_, height);
}

void HeadlessSurface::set_size(float width, float height) {
  if (width == scale_width_ && height == scale_height_) return;
  resize(width, height);
}

void HeadlessSurface::set_back_style(int16_t style) {
  if (style != 0 && style != 1) throw RuntimeError(kErrInvalidPropertyValue);
  back_style_ = style;
}

void HeadlessSurface::set_border_style(int16_t style) {
  if (style != 0 && style != 1) throw RuntimeError(kErrInvalidPropertyValue);
  border_style_ = style;
}

bool HeadlessSurface::accepts_input() const {
  // A modal form disables every other window of the thread, the surface's
  // container included.
  return enabled_ && headless_platform().modal_form() == nullptr;
}

void HeadlessSurface::type_key(int16_t key_code) {
  int16_t code = key_code;
  int16_t shift = 0;
  if (auto h = on_key_down) h(code, shift);
  if (int16_t ascii = headless_key_char(key_code); ascii != 0) {
    if (auto h = on_key_press) h(ascii);
  }
  code = key_code;
  shift = 0;
  if (auto h = on_key_up) h(code, shift);
}

void HeadlessSurface::resize(float width, float height) {
  set_scale_size(width, height);
  auto handler = on_resize;
  if (handler) handler();
}

}  // namespace qs
