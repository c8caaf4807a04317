#include "controls/quorral/quorral.h"

#include <cmath>

#include "controls/quorral/utilities.h"
#include "controls/quorral/win_crypt.h"
#include "core/runtime_error.h"

namespace qs {

namespace {

// What the store holds for a picture: the picture, or no object for none
// and for an empty picture (it has no image to keep).
Variant picture_value(const PictureRef& picture) {
  return picture && picture->type != PictureType::kNone ? Variant(picture) : Variant::nothing();
}

}  // namespace

Quorral::Quorral(std::unique_ptr<Surface> surface, Host& host)
    : Control(std::move(surface), host),
      image1_(&this->surface().create_image(u"Image1")),
      window_(this->surface().platform().create_message_window()),
      timer1_(&window_->create_timer()) {
  image1_->move(0, 0);
  image1_->set_picture(this->surface().platform().library_icon());
  timer1_->on_timer = [this] { poll_cursor(); };
  window_->on_message = [this](uint32_t message, uintptr_t wparam, intptr_t lparam) {
    on_window_message(message, wparam, lparam);
  };
  window_->on_shell_restarted = [this] { on_shell_restarted(); };
}

Quorral::~Quorral() {
  // An instance that shows no icon sends nothing: a delete would name the
  // window of whichever instance placed an icon last.
  if (IconShown()) {
    try {
      Set_Icon(false);
    } catch (...) {
      // The shell's answer is never looked at; nothing else can fail here.
    }
  }
  window_->on_message = nullptr;
  window_->on_shell_restarted = nullptr;
  timer1_->on_timer = nullptr;
  timer1_ = nullptr;
  window_.reset();
}

void Quorral::InitProperties() {
  tool_tip_ = Variant(u"");
  mouse_x_ = Variant(int16_t{0});
  mouse_y_ = Variant(int16_t{0});
  sensitivity_ = 0;
  msg_box_picture_ = surface().platform().load_picture(u"");
  timer1_->set_interval(0);
}

// The tip and the cursor coordinates hold plain values: an object (a font
// or picture) there is refused with a type mismatch, in a store as in an
// assignment, so what is kept can always be saved and streamed again.
static const Variant& plain_value(const Variant& v) {
  if (v.is_object()) throw RuntimeError(kErrTypeMismatch);
  return v;
}

void Quorral::ReadProperties(PropertyBag& bag) {
  // Everything is read and converted first, so a refused value changes nothing.
  Variant tip = plain_value(bag.read(u"SysToolTip", Variant(u"")));
  PictureRef icon = bag.read(u"SysIcon", Variant::nothing()).to_picture();
  Variant x = plain_value(bag.read(u"MouseX", Variant(int16_t{0})));
  Variant y = plain_value(bag.read(u"MouseY", Variant(int16_t{0})));
  const int32_t sensitivity = bag.read(u"MouseSensitivity", Variant(int32_t{0})).to_long();
  PictureRef msg_box_picture = bag.read(u"MsgBoxPicture", Variant::nothing()).to_picture();
  const int32_t interval = host().user_mode() ? sensitivity : 0;
  if (interval < 0 || interval > Timer::kMaxInterval) throw RuntimeError(kErrInvalidPropertyValue);

  tool_tip_ = std::move(tip);
  image1_->set_picture(std::move(icon));
  mouse_x_ = std::move(x);
  mouse_y_ = std::move(y);
  sensitivity_ = sensitivity;
  set_poll_timer();
  msg_box_picture_ = std::move(msg_box_picture);
}

void Quorral::WriteProperties(PropertyBag& bag) {
  bag.write(u"SysToolTip", tool_tip_, Variant(u""));
  bag.write(u"SysIcon", picture_value(SysIcon()), Variant::nothing());
  bag.write(u"MouseX", mouse_x_, Variant(int16_t{0}));
  bag.write(u"MouseY", mouse_y_, Variant(int16_t{0}));
  bag.write(u"MouseSensitivity", Variant(sensitivity_), Variant(int32_t{0}));
  bag.write(u"MsgBoxPicture", picture_value(msg_box_picture_), Variant::nothing());
}

void Quorral::Resize() { surface().set_size(kSize, kSize); }

Variant Quorral::Set_Icon(bool x) {
  Platform& platform = surface().platform();
  if (x) {
    if (!IconShown()) {
      const PictureRef picture = SysIcon();
      const intptr_t icon = picture ? picture->handle : 0;
      const TrayRecord record =
          make_tray_record(window_->handle(), icon, platform.to_ansi(tool_tip_.to_text()));
      shared_tray_record() = record;
      placed_ = record;
      platform.shell_notify_icon(kTrayAdd, record);
    }
  } else {
    if (IconShown()) send_delete();
    placed_.reset();
  }
  return Variant();
}

void Quorral::send_delete() {
  // The shared record as last filled, naming this instance's own icon.
  TrayRecord record = shared_tray_record();
  put_tray_field(record, TrayLayout::kWindow, window_->handle());
  put_tray_field(record, TrayLayout::kId, TrayLayout::kIconId);
  surface().platform().shell_notify_icon(kTrayDelete, record);
}

void Quorral::set_SysToolTip(const Variant& tip) {
  tool_tip_ = plain_value(tip);
  notify(u"SysToolTip");
}

void Quorral::set_MouseSensitivity(const Variant& ms) {
  sensitivity_ = ms.to_long();
  notify(u"MouseSensitivity");
  set_poll_timer();
}

void Quorral::set_poll_timer() {
  timer1_->set_interval(host().user_mode() ? sensitivity_ : 0);
}

PictureRef Quorral::SysIcon() const { return image1_->picture(); }

void Quorral::set_SysIcon(PictureRef picture) {
  image1_->set_picture(std::move(picture));
  notify(u"SysIcon");
}

void Quorral::set_MouseX(const Variant& x) {
  if (!host().user_mode()) throw RuntimeError(kErrSetNotPermitted);
  mouse_x_ = plain_value(x);
  notify(u"MouseX");
}

void Quorral::set_MouseY(const Variant& y) {
  if (!host().user_mode()) throw RuntimeError(kErrSetNotPermitted);
  mouse_y_ = plain_value(y);
  notify(u"MouseY");
}

void Quorral::set_MsgBoxPicture(PictureRef picture) {
  msg_box_picture_ = std::move(picture);
  notify(u"MsgBoxPicture");
}

int Quorral::tray_message_number(float x, int16_t scale_mode, float twips_per_pixel) {
  const double m = scale_mode == kScalePixels ? double(x) : double(x) / double(twips_per_pixel);
  // The default rounding mode rounds to nearest with ties to even.
  return int(std::nearbyint(m));
}

void Quorral::tray_mouse_message(int message) {
  switch (message) {
    case kLeftButtonUp: {
      Variant button(int16_t{0});
      raise_event(kClickEvent, {&button});
      break;
    }
    case kLeftDoubleClick:
      raise_event(kDoubleClickEvent);
      break;
    case kRightButtonUp: {
      Variant button(int16_t{1});
      raise_event(kClickEvent, {&button});
      break;
    }
    default:
      break;
  }
}

void Quorral::tray_mouse_move(float x, int16_t scale_mode) {
  tray_mouse_message(tray_message_number(x, scale_mode, surface().platform().twips_per_pixel_x()));
}

void Quorral::on_window_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  // The raw callback message carries the mouse message number in lparam.
  if (message != TrayLayout::kCallbackMessage || wparam != TrayLayout::kIconId) return;
  tray_mouse_move(float(lparam), kScalePixels);
}

void Quorral::on_shell_restarted() {
  if (!placed_) return;
  surface().platform().shell_notify_icon(kTrayAdd, *placed_);
}

void Quorral::poll_cursor() {
  const ScreenPoint p = surface().platform().cursor_pos();
  bool changed = false;
  if (compare(mouse_x_, Variant(p.x)) != 0) {
    set_MouseX(Variant(p.x));
    changed = true;
  }
  if (compare(mouse_y_, Variant(p.y)) != 0) {
    set_MouseY(Variant(p.y));
    changed = true;
  }
  if (!changed) return;
  Variant x(p.x), y(p.y);
  raise_event(kMouseMoveEvent, {&x, &y});
}

Variant Quorral::WinCrypt(const Variant& text, const Variant& key) {
  return Variant(win_crypt(surface().platform(), text.to_text(), key.to_text()));
}

bool Quorral::FloatWindow(const Variant& window, bool floating) {
  return float_window(surface().platform(), window, floating);
}

Variant Quorral::PlaySound(const Variant& file_name) {
  return play_sound(surface().platform(), file_name);
}

int16_t Quorral::MsgBox(const std::u16string& prompt, const Variant& buttons, const Variant& top,
                        const Variant& left, const Variant& spike) {
  return msg_box(surface().platform(), msg_box_picture_, Variant(prompt), buttons, top, left,
                 spike);
}

}  // namespace qs
