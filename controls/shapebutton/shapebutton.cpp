#include "controls/shapebutton/shapebutton.h"

#include <algorithm>
#include <limits>

#include "core/runtime_error.h"
#include "library/stored_value.h"
#include "controls/shapebutton/shape_outline.h"
#include "platform/region.h"

namespace qs {

namespace {

const std::u16string kCaptionDefault = u"Label1";
constexpr int16_t kBevelWidthDefault = 2;
// The surface's pixel scale.
constexpr int16_t kPixelScale = 3;


}  // namespace

ShapeButton::ShapeButton(std::unique_ptr<Surface> s, Host& host) : Control(std::move(s), host) {
  Surface& sf = surface();
  image1_ = &sf.create_image(u"Image1");
  label1_ = &sf.create_label(u"Label1");
  image1_->move(0, 0, 1125, 900);
  image1_->set_stretch(true);
  label1_->move(90, 315, 1110, 300);
  label1_->set_caption(kCaptionDefault);
  label1_->set_alignment(qs::Alignment::kCenter);
  label1_->set_back_style(0);
  press_state_ = kIdle;
  mouse_busy_ = false;

  for (MouseSource* child : {static_cast<MouseSource*>(image1_), static_cast<MouseSource*>(label1_)}) {
    child->on_mouse_down = [this](MouseReport& r) { press(r); };
    child->on_mouse_move = [this](MouseReport& r) { raise_mouse_event(kMouseMoveEvent, r); };
    child->on_mouse_up = [this](MouseReport& r) { release(r); };
    child->on_click = [this] { raise_event(kClickEvent); };
    child->on_dbl_click = [this] { raise_event(kDblClickEvent); };
  }
  sf.on_key_down = [this](int16_t& code, int16_t& shift) { raise_key_event(kKeyDownEvent, code, &shift); };
  sf.on_key_press = [this](int16_t& ascii) { raise_key_event(kKeyPressEvent, ascii, nullptr); };
  sf.on_key_up = [this](int16_t& code, int16_t& shift) { raise_key_event(kKeyUpEvent, code, &shift); };
}

ShapeButton::~ShapeButton() {
  for (MouseSource* child : {static_cast<MouseSource*>(image1_), static_cast<MouseSource*>(label1_)}) {
    child->on_mouse_down = nullptr;
    child->on_mouse_move = nullptr;
    child->on_mouse_up = nullptr;
    child->on_click = nullptr;
    child->on_dbl_click = nullptr;
  }
  Surface& sf = surface();
  sf.on_key_down = nullptr;
  sf.on_key_press = nullptr;
  sf.on_key_up = nullptr;
}

// ---- Lifecycle -------------------------------------------------------------

void ShapeButton::InitProperties() {
  button_shape_ = Elliptical;
  style_ = Button;
  bevel_width_ = kBevelWidthDefault;
  // An empty picture object, as loading a picture from an empty path gives.
  picture_up_ = surface().platform().load_picture(u"");
  picture_down_ = surface().platform().load_picture(u"");
  click_behaviour_ = Standard;
  value_ = false;
}

void ShapeButton::ReadProperties(PropertyBag& bag) {
  Surface& sf = surface();
  sf.set_back_color(color_of(bag.read(u"BackColor", color_value(kColorButtonFace))));
  label1_->set_fore_color(color_of(bag.read(u"ForeColor", color_value(kColorButtonText))));
  sf.set_enabled(bag.read(u"Enabled", Variant(true)).to_boolean());
  label1_->set_font(font_of(bag.read(u"Font", Variant(ambient_or_default_font(host())))));
  button_shape_ = bag.read(u"ButtonShape", Variant(int16_t{0})).to_long();
  style_ = bag.read(u"Style", Variant(int16_t{0})).to_long();
  bevel_width_ = bag.read(u"BevelWidth", Variant(kBevelWidthDefault)).to_integer();
  set_PictureUp(bag.read(u"PictureUp", Variant::nothing()).to_picture());
  picture_up_ = bag.read(u"PictureUp", Variant::nothing()).to_picture();
  picture_down_ = bag.read(u"PictureDown", Variant::nothing()).to_picture();
  click_behaviour_ = bag.read(u"ClickBehaviour", Variant(int16_t{0})).to_long();
  label1_->set_caption(bag.read(u"Caption", Variant(kCaptionDefault)).to_text());
  label1_->set_alignment(
      static_cast<qs::Alignment>(bag.read(u"Alignment", Variant(int16_t{0})).to_integer()));
  image1_->set_picture(picture_up_);
  value_ = bag.read(u"Value", Variant(false)).to_boolean();
  layout();
  image1_->set_tool_tip_text(bag.read(u"ToolTipText", Variant(u"")).to_text());
}

void ShapeButton::WriteProperties(PropertyBag& bag) {
  const Surface& sf = surface();
  bag.write(u"BackColor", color_value(sf.back_color()), color_value(kColorButtonFace));
  bag.write(u"ForeColor", color_value(label1_->fore_color()), color_value(kColorButtonText));
  bag.write(u"Enabled", Variant(sf.enabled()), Variant(true));
  bag.write(u"Font", Variant(label1_->font()), Variant(ambient_or_default_font(host())));
  bag.write(u"ButtonShape", Variant(button_shape_), Variant(int16_t{0}));
  bag.write(u"Style", Variant(style_), Variant(int16_t{0}));
  bag.write(u"BevelWidth", Variant(bevel_width_), Variant(kBevelWidthDefault));
  bag.write(u"PictureUp", Variant(picture_up_), Variant::nothing());
  bag.write(u"PictureDown", Variant(picture_down_), Variant::nothing());
  bag.write(u"ClickBehaviour", Variant(click_behaviour_), Variant(int16_t{0}));
  bag.write(u"Caption", Variant(label1_->caption()), Variant(kCaptionDefault));
  bag.write(u"Alignment", Variant(static_cast<int16_t>(label1_->alignment())),
            Variant(int16_t{0}));
  bag.write(u"Value", Variant(value_), Variant(false));
  bag.write(u"ToolTipText", Variant(image1_->tool_tip_text()), Variant(u""));
}

void ShapeButton::Resize() { layout(); }

// ---- Layout pass -------------------------------------------------------------

void ShapeButton::layout() {
  Surface& sf = surface();
  sf.set_scale_mode(kPixelScale);
  if (ClickBehaviour() == NoChange && press_state_ != kIdle) return;

  const float d =
      (click_behaviour_ != InvertColor && press_state_ == kPressed) ? float(bevel_width_) : 0.0f;
  const float sw = sf.scale_width();
  const float sh = sf.scale_height();
  const float r = sw - 2 * d;
  const float b = sh - 2 * d;

  // Every region made here is released when the pass ends, also when a
  // step fails, except the one the window takes.
  Regions& rg = sf.platform().regions();
  OwnedRegion outline(rg, build_outline(rg, button_shape_, d, r, b));
  std::optional<OwnedRegion> copy;
  if (outline.get() != 0) {
    copy.emplace(rg, rg.create_elliptic_rgn(0, 0, 100, 100));
    rg.combine_rgn(copy->get(), outline.get(), outline.get(), kRgnCopy);
  }
  sf.set_window_rgn(outline.get(), true);
  outline.release();

  // The caption spans the surface, centred vertically on all of it, then
  // starts at the inset. A pressed button smaller than three insets keeps
  // its caption and picture at width (or height) 0 instead of failing.
  const float lh = label1_->bounds().height;
  label1_->move(0, sh / 2 - lh / 2, sw, lh);
  label1_->move(d, label1_->bounds().top, std::max(0.0f, r - d), lh);

  switch (click_behaviour_) {
    case Standard:
      image1_->move(d, d, std::max(0.0f, r - d), std::max(0.0f, b - d));
      break;
    case UseUpDown:
      image1_->move(0, 0, sw, sh);
      image1_->set_picture(press_state_ != kReleased && press_state_ != kIdle ? picture_down_
                                                                                : picture_up_);
      break;
    case InvertColor:
      image1_->move(0, 0, sw, sh);
      if (copy) sf.invert_rgn(copy->get());
      break;
    default:
      break;
  }
}

// ---- Press and release -------------------------------------------------------

namespace {

// Marks press or release handling for its lifetime; on the way out, also
// when the handling failed, MouseBusy is false and the press state idle, so
// a failed pass never leaves the button stuck.
class PressHandling {
 public:
  PressHandling(bool& busy, int16_t& state) : busy_(busy), state_(state) { busy_ = true; }
  ~PressHandling() {
    busy_ = false;
    state_ = ShapeButton::kIdle;
  }
  PressHandling(const PressHandling&) = delete;
  PressHandling& operator=(const PressHandling&) = delete;

 private:
  bool& busy_;
  int16_t& state_;
};

bool latch_is_one(const Variant& latch) {
  return !latch.is_empty() && compare(latch, Variant(int16_t{1})) == 0;
}

}  // namespace

void ShapeButton::press(MouseReport& report) {
  PressHandling handling(mouse_busy_, press_state_);
  if (Style() == Button) {
    press_state_ = kPressed;
  } else {
    toggle_latch_ = Variant(int16_t{latch_is_one(toggle_latch_) ? int16_t{0} : int16_t{1}});
    press_state_ = toggle_latch_.to_integer();
  }
  layout();
  set_Value(press_state_ != kReleased);
  press_state_ = kIdle;
  raise_mouse_event(kMouseDownEvent, report);
}

void ShapeButton::release(MouseReport& report) {
  PressHandling handling(mouse_busy_, press_state_);
  if (Style() == Button) {
    press_state_ = kReleased;
  } else {
    press_state_ = toggle_latch_.is_empty() ? int16_t{0} : toggle_latch_.to_integer();
  }
  set_Value(press_state_ != kReleased);
  layout();
  press_state_ = kIdle;
  raise_mouse_event(kMouseUpEvent, report);
}

// ---- Properties ------------------------------------------------------------------

OleColor ShapeButton::BackColor() const { return surface().back_color(); }

void ShapeButton::set_BackColor(OleColor color) {
  surface().set_back_color(color);
  notify(u"BackColor");
}

bool ShapeButton::Enabled() const { return surface().enabled(); }

void ShapeButton::set_Enabled(bool enabled) {
  surface().set_enabled(enabled);
  notify(u"Enabled");
}

OleColor ShapeButton::ForeColor() const { return label1_->fore_color(); }

void ShapeButton::set_ForeColor(OleColor color) {
  label1_->set_fore_color(color);
  notify(u"ForeColor");
}

FontRef ShapeButton::Font() const { return label1_->font(); }

void ShapeButton::set_Font(FontRef font) {
  if (!font) throw RuntimeError(kErrInvalidPropertyValue);
  label1_->set_font(std::move(font));
  notify(u"Font");
}

std::u16string ShapeButton::Caption() const { return label1_->caption(); }

void ShapeButton::set_Caption(const std::u16string& caption) {
  label1_->set_caption(caption);
  notify(u"Caption");
}

int32_t ShapeButton::Alignment() const { return static_cast<int32_t>(label1_->alignment()); }

void ShapeButton::set_Alignment(int32_t alignment) {
  if (alignment < std::numeric_limits<int16_t>::min() ||
      alignment > std::numeric_limits<int16_t>::max()) {
    throw RuntimeError(kErrOverflow);
  }
  label1_->set_alignment(static_cast<qs::Alignment>(alignment));
  notify(u"Alignment");
}

int32_t ShapeButton::ButtonShape() const { return button_shape_; }

void ShapeButton::set_ButtonShape(int32_t shape) {
  button_shape_ = shape;
  notify(u"ButtonShape");
  layout();
}

int32_t ShapeButton::Style() const { return style_; }

void ShapeButton::set_Style(int32_t style) {
  style_ = style;
  notify(u"Style");
}

int16_t ShapeButton::BevelWidth() const { return bevel_width_; }

void ShapeButton::set_BevelWidth(int16_t width) {
  bevel_width_ = width;
  notify(u"BevelWidth");
}

int32_t ShapeButton::ClickBehaviour() const { return click_behaviour_; }

void ShapeButton::set_ClickBehaviour(int32_t behaviour) {
  click_behaviour_ = behaviour;
  notify(u"ClickBehaviour");
}

PictureRef ShapeButton::PictureUp() const { return picture_up_; }

void ShapeButton::set_PictureUp(PictureRef picture) {
  picture_up_ = picture;
  image1_->set_picture(std::move(picture));
  notify(u"PictureUp");
}

PictureRef ShapeButton::PictureDown() const { return picture_down_; }

void ShapeButton::set_PictureDown(PictureRef picture) {
  picture_down_ = std::move(picture);
  notify(u"PictureDown");
}

bool ShapeButton::Value() const { return value_; }

void ShapeButton::set_Value(bool value) {
  value_ = value;
  notify(u"Value");
  if (mouse_busy_) return;
  press_state_ = value ? kPressed : kReleased;
  toggle_latch_ = Variant(press_state_);
  layout();
}

std::u16string ShapeButton::ToolTipText() const { return image1_->tool_tip_text(); }

void ShapeButton::set_ToolTipText(const std::u16string& text) {
  image1_->set_tool_tip_text(text);
  label1_->set_tool_tip_text(text);
  notify(u"ToolTipText");
}

}  // namespace qs
