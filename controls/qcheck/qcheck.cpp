#include "controls/qcheck/qcheck.h"

#include "core/runtime_error.h"
#include "core/skip_on_failure.h"
#include "library/stored_value.h"

namespace qs {

namespace {

const std::u16string kCaptionDefault = u"Label1";

Variant value_default() { return Variant(int16_t{0}); }

// The box colour for a value: value 0, value 1, anything else. Fails with
// 13 for a value that cannot be compared with a number.
OleColor box_color(const Variant& value, OleColor clear, OleColor check, OleColor other) {
  if (compare(value, Variant(int16_t{0})) == 0) return clear;
  if (compare(value, Variant(int16_t{1})) == 0) return check;
  return other;
}

}  // namespace

qCheck::qCheck(std::unique_ptr<Surface> s, Host& host) : Control(std::move(s), host) {
  Surface& sf = surface();
  picture1_ = &sf.create_picture_box(u"Picture1");
  label1_ = &sf.create_label(u"Label1");

  picture1_->move(0, 45, 240, 225);
  picture1_->set_back_color(rgb(0, 0, 0));
  label1_->move(510, 0, 1035, 270);
  label1_->set_caption(kCaptionDefault);
  label1_->set_back_color(kColorButtonFace);
  label1_->set_fore_color(kColorButtonText);
  label1_->set_alignment(qs::Alignment::kLeft);
  picture1_->set_tab_index(0);
  label1_->set_tab_index(1);

  for (MouseSource* child : {static_cast<MouseSource*>(picture1_), static_cast<MouseSource*>(label1_)}) {
    child->on_mouse_down = [this](MouseReport& r) { raise_mouse_event(kMouseDownEvent, r); };
    child->on_mouse_move = [this](MouseReport& r) { raise_mouse_event(kMouseMoveEvent, r); };
    child->on_mouse_up = [this](MouseReport& r) { raise_mouse_event(kMouseUpEvent, r); };
    child->on_click = [this] { advance(); };
    child->on_dbl_click = [this] { raise_event(kDblClickEvent); };
  }
}

qCheck::~qCheck() {
  for (MouseSource* child : {static_cast<MouseSource*>(picture1_), static_cast<MouseSource*>(label1_)}) {
    child->on_mouse_down = nullptr;
    child->on_mouse_move = nullptr;
    child->on_mouse_up = nullptr;
    child->on_click = nullptr;
    child->on_dbl_click = nullptr;
  }
}

// ---- Lifecycle -------------------------------------------------------------

void qCheck::InitProperties() {
  clear_color_ = kClearColorDefault;
  check_color_ = kCheckColorDefault;
  indeterminant_color_ = kIndeterminantColorDefault;
  value_ = value_default();
  check_type_ = TwoState;
  alignment_ = LEFT;
}

void qCheck::ReadProperties(PropertyBag& bag) {
  Surface& sf = surface();
  set_BackColor(color_of(bag.read(u"BackColor", color_value(kColorButtonFace))));
  sf.set_enabled(bag.read(u"Enabled", Variant(true)).to_boolean());
  set_BackStyle(bag.read(u"BackStyle", Variant(int16_t{1})).to_integer());
  sf.set_border_style(bag.read(u"BorderStyle", Variant(int16_t{0})).to_integer());
  label1_->set_fore_color(color_of(bag.read(u"ForeColor", color_value(kColorButtonText))));
  label1_->set_font(font_of(bag.read(u"Font", Variant(ambient_or_default_font(host())))));
  label1_->set_caption(bag.read(u"Caption", Variant(kCaptionDefault)).to_text());
  clear_color_ = color_of(bag.read(u"ClearColor", color_value(kClearColorDefault)));
  check_color_ = color_of(bag.read(u"CheckColor", color_value(kCheckColorDefault)));
  indeterminant_color_ =
      color_of(bag.read(u"IndeterminantColor", color_value(kIndeterminantColorDefault)));
  Variant value = bag.read(u"Value", value_default());
  // A value the box cannot show is refused before it is kept.
  box_color(value, clear_color_, check_color_, indeterminant_color_);
  value_ = value;
  check_type_ = bag.read(u"CheckType", Variant(int32_t{TwoState})).to_long();
  alignment_ = bag.read(u"Alignment", Variant(int32_t{LEFT})).to_long();
  set_Value(value_);
}

void qCheck::WriteProperties(PropertyBag& bag) {
  const Surface& sf = surface();
  bag.write(u"BackColor", color_value(sf.back_color()), color_value(kColorButtonFace));
  bag.write(u"Enabled", Variant(sf.enabled()), Variant(true));
  bag.write(u"BackStyle", Variant(sf.back_style()), Variant(int16_t{1}));
  bag.write(u"BorderStyle", Variant(sf.border_style()), Variant(int16_t{0}));
  bag.write(u"ForeColor", color_value(label1_->fore_color()), color_value(kColorButtonText));
  bag.write(u"Font", Variant(label1_->font()), Variant(ambient_or_default_font(host())));
  bag.write(u"Caption", Variant(label1_->caption()), Variant(kCaptionDefault));
  bag.write(u"ClearColor", color_value(clear_color_), color_value(kClearColorDefault));
  bag.write(u"CheckColor", color_value(check_color_), color_value(kCheckColorDefault));
  bag.write(u"IndeterminantColor", color_value(indeterminant_color_),
            color_value(kIndeterminantColorDefault));
  bag.write(u"Value", value_, value_default());
  bag.write(u"CheckType", Variant(check_type_), Variant(int32_t{TwoState}));
  bag.write(u"Alignment", Variant(alignment_), Variant(int32_t{LEFT}));
}

void qCheck::Resize() { layout(); }

void qCheck::Refresh() { surface().refresh(); }

// ---- Layout ------------------------------------------------------------------

void qCheck::layout() {
  SkipOnFailure s;
  const Surface& sf = surface();
  const float sw = sf.scale_width();
  const float sh = sf.scale_height();
  const Bounds box = picture1_->bounds();
  auto set_left = [](Element& e, float left) { e.move(left, e.bounds().top); };
  auto set_top = [](Element& e, float top) { e.move(e.bounds().left, top); };
  if (alignment_ == LEFT) {
    s.step([&] { set_left(*picture1_, 0); });
    s.step([&] { set_left(*label1_, box.width); });
  } else {
    s.step([&] { set_left(*picture1_, sw - box.width); });
    s.step([&] { set_left(*label1_, 0); });
  }
  s.step([&] { set_top(*picture1_, sh / 2 - box.height / 2); });
  s.step([&] {
    Bounds b = label1_->bounds();
    label1_->move(b.left, b.top, sw - box.width, b.height);
  });
  s.step([&] { set_top(*label1_, 0); });
  s.step([&] {
    Bounds b = label1_->bounds();
    label1_->move(b.left, b.top, b.width, sh);
  });
}

// ---- Clicks and mouse ------------------------------------------------------------

void qCheck::advance() {
  Variant next = add(value_, Variant(int16_t{1}));
  // The limit is formed wide, so the largest CheckType still cycles.
  Variant limit(static_cast<double>(check_type_) + 1);
  if (compare(next, limit) > 0) next = Variant(int16_t{0});
  set_Value(next);
  raise_event(kClickEvent);
}

// ---- Properties ------------------------------------------------------------------

OleColor qCheck::BackColor() const { return surface().back_color(); }

void qCheck::set_BackColor(OleColor color) {
  surface().set_back_color(color);
  label1_->set_back_color(color);
  notify(u"BackColor");
}

bool qCheck::Enabled() const { return surface().enabled(); }

void qCheck::set_Enabled(bool enabled) {
  surface().set_enabled(enabled);
  notify(u"Enabled");
}

int16_t qCheck::BackStyle() const { return surface().back_style(); }

void qCheck::set_BackStyle(int16_t style) {
  surface().set_back_style(style);
  label1_->set_back_style(style);
  notify(u"BackStyle");
}

int16_t qCheck::BorderStyle() const { return surface().border_style(); }

void qCheck::set_BorderStyle(int16_t style) {
  surface().set_border_style(style);
  notify(u"BorderStyle");
}

OleColor qCheck::ForeColor() const { return label1_->fore_color(); }

void qCheck::set_ForeColor(OleColor color) {
  label1_->set_fore_color(color);
  notify(u"ForeColor");
}

FontRef qCheck::Font() const { return label1_->font(); }

void qCheck::set_Font(FontRef font) {
  if (!font) throw RuntimeError(kErrInvalidPropertyValue);
  label1_->set_font(std::move(font));
  notify(u"Font");
}

std::u16string qCheck::Caption() const { return label1_->caption(); }

void qCheck::set_Caption(const std::u16string& caption) {
  label1_->set_caption(caption);
  notify(u"Caption");
}

OleColor qCheck::ClearColor() const { return clear_color_; }

void qCheck::set_ClearColor(OleColor color) {
  clear_color_ = color;
  notify(u"ClearColor");
}

OleColor qCheck::CheckColor() const { return check_color_; }

void qCheck::set_CheckColor(OleColor color) {
  check_color_ = color;
  notify(u"CheckColor");
}

OleColor qCheck::IndeterminantColor() const { return indeterminant_color_; }

void qCheck::set_IndeterminantColor(OleColor color) {
  indeterminant_color_ = color;
  notify(u"IndeterminantColor");
}

Variant qCheck::Value() const { return value_; }

void qCheck::set_Value(const Variant& value) {
  OleColor color = box_color(value, clear_color_, check_color_, indeterminant_color_);
  value_ = value;
  notify(u"Value");
  picture1_->set_back_color(color);
  raise_event(kChangeEvent);
}

int32_t qCheck::CheckType() const { return check_type_; }

void qCheck::set_CheckType(int32_t type) {
  check_type_ = type;
  notify(u"CheckType");
}

int32_t qCheck::Alignment() const { return alignment_; }

void qCheck::set_Alignment(int32_t alignment) {
  alignment_ = alignment;
  notify(u"Alignment");
  layout();
}

}  // namespace qs
