// An in-memory control surface: 0 x 0 until the driver gives it a size.
#pragma once

#include "platform/headless/headless_container.h"

namespace qs {

class HeadlessSurface final : public HeadlessContainerOf<Surface> {
 public:
  explicit HeadlessSurface(HeadlessPlatform& platform);
  ~HeadlessSurface() override;

  bool enabled() const override { return enabled_; }
  void set_enabled(bool enabled) override { enabled_ = enabled; }
  int16_t back_style() const override { return back_style_; }
  void set_back_style(int16_t style) override;
  int16_t border_style() const override { return border_style_; }
  void set_border_style(int16_t style) override;

  // The height changes at once (the container always agrees).
  void set_height(float height) override;
  void set_size(float width, float height) override;
  // A number unique to the surface among those of its platform.
  uintptr_t window_handle() const override { return window_handle_; }

  // Enabled, and no modal form holds the input.
  bool accepts_input() const override;

  // A key pressed and released with the surface holding the focus: key
  // down, the character it types (if any), key up.
  void type_key(int16_t key_code);

  // The container gives the surface a new inner size in twips; reports it by on_resize.
  void resize(float width, float height);

 private:
  bool enabled_ = true;
  int16_t back_style_ = 1;
  int16_t border_style_ = 0;
  uintptr_t window_handle_;
};

}  // namespace qs
