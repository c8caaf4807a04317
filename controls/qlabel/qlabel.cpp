#include "controls/qlabel/qlabel.h"

#include "core/runtime_error.h"
#include "library/stored_value.h"

namespace qs {

namespace {

const std::u16string kCaptionDefault = u"Label1";
const std::u16string kDesignCaption = u"ShadowText";
constexpr int16_t kShadowDefault = 1;

}  // namespace

qLabel::qLabel(std::unique_ptr<Surface> s, Host& host) : Control(std::move(s), host) {
  Surface& sf = surface();
  // The later label lies above: the shadow first, then the text.
  label2_ = &sf.create_label(u"Label2");
  label1_ = &sf.create_label(u"Label1");
  for (Label* l : {label1_, label2_}) {
    l->set_back_style(0);
    l->set_caption(kDesignCaption);
  }
  label1_->set_fore_color(kTextDesignColor);
  label2_->set_fore_color(kShadowDesignColor);
  label1_->move(-45, -90, 795, 600);
  label2_->move(-540, 45, 1065, 375);

  label1_->on_click = [this] { raise_event(kClickEvent); };
  label1_->on_dbl_click = [this] { raise_event(kDblClickEvent); };
  label1_->on_mouse_down = [this](MouseReport& r) { raise_mouse_event(kMouseDownEvent, r); };
  label1_->on_mouse_move = [this](MouseReport& r) { raise_mouse_event(kMouseMoveEvent, r); };
  label1_->on_mouse_up = [this](MouseReport& r) { raise_mouse_event(kMouseUpEvent, r); };
}

qLabel::~qLabel() {
  label1_->on_click = nullptr;
  label1_->on_dbl_click = nullptr;
  label1_->on_mouse_down = nullptr;
  label1_->on_mouse_move = nullptr;
  label1_->on_mouse_up = nullptr;
}

// ---- Lifecycle -------------------------------------------------------------

void qLabel::InitProperties() { shadow_ = kShadowDefault; }

void qLabel::ReadProperties(PropertyBag& bag) {
  Surface& sf = surface();
  sf.set_back_color(color_of(bag.read(u"BackColor", color_value(kColorButtonFace))));
  label1_->set_fore_color(color_of(bag.read(u"ForeColor", color_value(kColorButtonText))));
  label1_->set_enabled(bag.read(u"Enabled", Variant(true)).to_boolean());
  label1_->set_font(font_of(bag.read(u"Font", Variant(ambient_or_default_font(host())))));
  sf.set_back_style(bag.read(u"BackStyle", Variant(int16_t{0})).to_integer());
  sf.set_border_style(bag.read(u"BorderStyle", Variant(int16_t{0})).to_integer());
  shadow_ = bag.read(u"Shadow", Variant(kShadowDefault)).to_integer();
  label2_->set_fore_color(color_of(bag.read(u"ShadowColor", color_value(kColorButtonText))));
  label1_->set_caption(bag.read(u"Caption", Variant(kCaptionDefault)).to_text());
  label2_->set_caption(label1_->caption());
  label2_->set_enabled(label1_->enabled());
  label2_->set_font(label1_->font());
  layout();
}

void qLabel::WriteProperties(PropertyBag& bag) {
  const Surface& sf = surface();
  bag.write(u"BackColor", color_value(sf.back_color()), color_value(kColorButtonFace));
  bag.write(u"ForeColor", color_value(label1_->fore_color()), color_value(kColorButtonText));
  bag.write(u"Enabled", Variant(label1_->enabled()), Variant(true));
  bag.write(u"Font", Variant(label1_->font()), Variant(ambient_or_default_font(host())));
  bag.write(u"BackStyle", Variant(sf.back_style()), Variant(int16_t{0}));
  bag.write(u"BorderStyle", Variant(sf.border_style()), Variant(int16_t{0}));
  bag.write(u"Shadow", Variant(shadow_), Variant(kShadowDefault));
  bag.write(u"ShadowColor", color_value(label2_->fore_color()), color_value(kColorButtonText));
  bag.write(u"Caption", Variant(label1_->caption()), Variant(kCaptionDefault));
}

void qLabel::Resize() { layout(); }

void qLabel::Refresh() { surface().refresh(); }

void qLabel::layout() {
  Surface& sf = surface();
  const float sw = sf.scale_width();
  const float sh = sf.scale_height();
  // Wide enough for the negation of the most negative offset.
  const int32_t s = Shadow();
  const int32_t text = s > 0 ? 0 : -s;
  const int32_t shadow = s > 0 ? s : 0;
  label1_->move(static_cast<float>(text), static_cast<float>(text), sw, sh);
  label2_->move(static_cast<float>(shadow), static_cast<float>(shadow), sw, sh);
  sf.refresh();
}

// ---- Properties ------------------------------------------------------------------

OleColor qLabel::BackColor() const { return surface().back_color(); }

void qLabel::set_BackColor(OleColor color) {
  surface().set_back_color(color);
  notify(u"BackColor");
}

OleColor qLabel::ForeColor() const { return label1_->fore_color(); }

void qLabel::set_ForeColor(OleColor color) {
  label1_->set_fore_color(color);
  notify(u"ForeColor");
}

bool qLabel::Enabled() const { return label1_->enabled(); }

void qLabel::set_Enabled(bool enabled) {
  label1_->set_enabled(enabled);
  label2_->set_enabled(enabled);
  notify(u"Enabled");
}

FontRef qLabel::Font() const { return label1_->font(); }

void qLabel::set_Font(FontRef font) {
  if (!font) throw RuntimeError(kErrInvalidPropertyValue);
  label1_->set_font(font);
  label2_->set_font(font);
  notify(u"Font");
}

int16_t qLabel::BackStyle() const { return surface().back_style(); }

void qLabel::set_BackStyle(int16_t style) {
  surface().set_back_style(style);
  notify(u"BackStyle");
}

int16_t qLabel::BorderStyle() const { return surface().border_style(); }

void qLabel::set_BorderStyle(int16_t style) {
  surface().set_border_style(style);
  notify(u"BorderStyle");
}

int16_t qLabel::Shadow() const { return shadow_; }

void qLabel::set_Shadow(int16_t shadow) {
  shadow_ = shadow;
  notify(u"Shadow");
  layout();
}

OleColor qLabel::ShadowColor() const { return label2_->fore_color(); }

void qLabel::set_ShadowColor(OleColor color) {
  label2_->set_fore_color(color);
  notify(u"ShadowColor");
}

std::u16string qLabel::Caption() const { return label1_->caption(); }

void qLabel::set_Caption(const std::u16string& caption) {
  label1_->set_caption(caption);
  label2_->set_caption(caption);
  notify(u"Caption");
}

}  // namespace qs
