// An in-memory top-level form. A modal show runs the platform's modal script
// with the form and returns when the script has hidden it.
#pragma once

#include "platform/headless/headless_container.h"

namespace qs {

class HeadlessForm final : public HeadlessContainerOf<Form> {
 public:
  // Loads the form; the platform counts it as live until it is destroyed.
  HeadlessForm(HeadlessPlatform& platform, std::u16string name);
  ~HeadlessForm() override;

  const std::u16string& name() const { return name_; }
  // The order in which the platform created this form, from 1.
  int serial() const { return serial_; }

  std::u16string caption() const override { return caption_; }
  void set_caption(const std::u16string& caption) override { caption_ = caption; }
  // A negative size fails with 380.
  void set_client_size(float width, float height) override { set_scale_size(width, height); }
  // Showing a form that is shown already fails with 400; without a modal
  // script, or when the script leaves the form shown, throws std::logic_error.
  void show_modal() override;
  void hide() override { shown_ = false; }
  bool is_shown() const override { return shown_; }
  void show() override { shown_ = true; }
  float left() const override { return left_; }
  float top() const override { return top_; }
  void move_to(float left, float top) override {
    left_ = left;
    top_ = top;
  }
  int16_t border_style() const override { return border_style_; }
  // 0 or 3; anything else fails with 380.
  void set_border_style(int16_t style) override;
  PictureRef picture() const override { return picture_; }
  void set_picture(PictureRef picture) override { picture_ = std::move(picture); }

  // Shown, and not below another modal form.
  bool accepts_input() const override;

 private:
  friend class HeadlessPlatform;

  std::u16string name_;
  std::u16string caption_;
  int serial_;
  bool shown_ = false;
  float left_ = 0;
  float top_ = 0;
  int16_t border_style_ = 3;
  PictureRef picture_;
};

}  // namespace qs
