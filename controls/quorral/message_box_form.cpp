#include "controls/quorral/message_box_form.h"

#include <utility>
#include <vector>

#include "core/runtime_error.h"
#include "platform/region.h"

namespace qs {

namespace {

thread_local MsgBoxRequest t_request;

struct ButtonSet {
  int32_t value;
  int shown;  // what ShowButtons gets
  const char16_t* captions[3];  // per index; null leaves the designed caption
};

// The button sets by MsgBoxRequest.Buttons; any other value shows one "OK".
const ButtonSet kButtonSets[] = {
    {1, 2, {u"Yes", nullptr, u"No"}},
    {2, 2, {u"OK", nullptr, u"Cancel"}},
    {3, 3, {u"Yes", u"No", u"Cancel"}},
    {4, 2, {u"Abort", nullptr, u"Retry"}},
    {5, 3, {u"Abort", u"Retry", u"Ignore"}},
    {97, 3, {u"Abort", u"Retry", u"P on Keyboard!"}},
    {98, 3, {u"Gone", u"to Life", u"Shop"}},
    {99, 3, {u"Skorv Rules", u"The", u"Planet"}},
};
const ButtonSet kSingleOk = {0, 1, {nullptr, u"OK", nullptr}};

const ButtonSet& button_set(const Variant& buttons) {
  double value = 0;
  if (buttons.is_numeric()) {
    try {
      value = buttons.to_double();
    } catch (const RuntimeError&) {
      return kSingleOk;
    }
  }
  for (const ButtonSet& set : kButtonSets) {
    if (value == set.value) return set;
  }
  return kSingleOk;
}

constexpr float kFormWidth = 4140;
constexpr float kFormHeight = 2595;
constexpr int kOutline = 3;  // pixels

}  // namespace

MsgBoxRequest& msg_box_request() { return t_request; }

int16_t answer_for_caption(std::u16string_view caption) {
  std::u16string lower(caption);
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  // Compared in this order; the first match wins.
  static const std::pair<const char16_t*, int16_t> kAnswers[] = {
      {u"ok", kAnswerOk},         {u"cancel", kAnswerCancel}, {u"no", kAnswerNo},
      {u"yes", kAnswerYes},       {u"ignore", kAnswerIgnore}, {u"abort", kAnswerAbort},
      {u"retry", kAnswerRetry},
  };
  for (const auto& [text, code] : kAnswers) {
    if (lower == text) return code;
  }
  return kAnswerOther;
}

MessageBoxForm::MessageBoxForm(Platform& platform)
    : form_(platform.create_form(u"MessageBox")), platform_(platform) {
  Form& f = *form_;
  f.set_border_style(0);
  f.set_client_size(kFormWidth, kFormHeight);

  prompt_ = &f.create_label(u"Label1");
  prompt_->move(240, 660, 3645, 960);
  prompt_->set_alignment(Alignment::kCenter);
  prompt_->set_back_style(0);
  static const char16_t* const kDesigned[] = {u"OK", u"Cancel", u"Yes"};
  static const int kTabOrder[] = {0, 2, 1};  // tab index of each button
  for (int i = 0; i < 3; ++i) {
    CommandButton& b = f.create_command_button(u"Command1(" + std::u16string(1, char16_t(u'0' + i)) + u")");
    b.move(675 + 900.0f * static_cast<float>(i), 1740, 885, 405);
    b.set_caption(kDesigned[i]);
    b.set_visible(false);
    b.set_tab_index(kTabOrder[i]);
    b.on_click = [this, i] { press(i); };
    buttons_[static_cast<size_t>(i)] = &b;
  }

  // Load, from the thread's request.
  MsgBoxRequest& request = msg_box_request();
  prompt_->set_caption(request.Prompt.to_text());
  if (!request.Top.is_numeric()) {
    request.Top = Variant((platform_.screen_height() - kFormHeight) / 2.0);
  }
  if (!request.Left.is_numeric()) {
    request.Left = Variant((platform_.screen_width() - kFormWidth) / 2.0);
  }
  if (!request.Spike.is_numeric()) request.Spike = Variant(int32_t(0));
  f.move_to(static_cast<float>(request.Left.to_double()),
            static_cast<float>(request.Top.to_double()));
  f.set_scale_mode(3);
  layout_shape();
  f.set_picture(request.Picture.is_object() ? request.Picture.to_picture() : nullptr);

  const ButtonSet& set = button_set(request.Buttons);
  ShowButtons(Variant(int32_t(set.shown)));
  for (int i = 0; i < 3; ++i) {
    if (set.captions[i] != nullptr) buttons_[static_cast<size_t>(i)]->set_caption(set.captions[i]);
  }
  if (set.value == 98) prompt_->set_caption(u"One day, I will disappear and get a life!");
}

MessageBoxForm::~MessageBoxForm() = default;

void MessageBoxForm::layout_shape() {
  Regions& regions = platform_.regions();
  const double w = form_->scale_width();
  const double h = form_->scale_height();
  const int32_t spike = msg_box_request().Spike.to_long();

  // The bubble with inset i: the ellipse and the spikes asked for, each
  // triangle joined in and released at once.
  auto bubble = [&](int i) {
    const double hw = (w - 2 * i) / 2, w10 = (w - 2 * i) / 10;
    const double hh = (h - 2 * i) / 2, h10 = (h - 2 * i) / 10;
    const int32_t W = nearest(w), H = nearest(h);
    auto shape = std::make_unique<OwnedRegion>(
        regions, regions.create_elliptic_rgn(i, i, W - i, H - i));
    auto add_spike = [&](int corner) {
      RegionPoint p[3];
      switch (corner) {
        case 1:
          p[0] = {i, i}, p[1] = {nearest(hw), nearest(h10)}, p[2] = {nearest(w10), nearest(hh)};
          break;
        case 2:
          p[0] = {W - i, i}, p[1] = {nearest(hw), nearest(h10)},
          p[2] = {nearest(9 * w10), nearest(hh)};
          break;
        case 3:
          p[0] = {W - i, H - i}, p[1] = {nearest(hw), nearest(9 * h10)},
          p[2] = {nearest(9 * w10), nearest(hh)};
          break;
        default:
          p[0] = {i, H - i}, p[1] = {nearest(w10), nearest(hh)},
          p[2] = {nearest(hw), nearest(9 * h10)};
          break;
      }
      OwnedRegion triangle(regions, regions.create_polygon_rgn(p, 3, kWinding));
      regions.combine_rgn(shape->get(), shape->get(), triangle.get(), kRgnOr);
    };
    if (spike >= 1 && spike <= 4) add_spike(spike);
    if (spike == 5) {
      for (int corner = 1; corner <= 4; ++corner) add_spike(corner);
    }
    return shape;
  };

  // Outer pass: the window's shape, and the outline starting as its copy.
  std::unique_ptr<OwnedRegion> outer = bubble(0);
  OwnedRegion outline(regions, regions.create_elliptic_rgn(0, 0, nearest(w), nearest(h)));
  regions.combine_rgn(outline.get(), outer->get(), outer->get(), kRgnOr);
  form_->set_window_rgn(outer->release(), true);
  // Inner pass: the outline keeps the rim between the two shapes.
  std::unique_ptr<OwnedRegion> inner = bubble(kOutline);
  regions.combine_rgn(outline.get(), inner->get(), outline.get(), kRgnXor);
  form_->fill_rgn(outline.get(), regions.get_stock_object(kBlackBrush));
}

void MessageBoxForm::ShowButtons(const Variant& count) {
  double n = -1;
  if (count.is_numeric()) n = count.to_double();
  if (n == 1) {
    buttons_[1]->set_visible(true);
  } else if (n == 2) {
    buttons_[0]->set_visible(true);
    buttons_[2]->set_visible(true);
  } else {
    for (CommandButton* b : buttons_) b->set_visible(true);
  }
}

void MessageBoxForm::press(int index) {
  msg_box_request().Result = Variant(answer_for_caption(button(index).caption()));
  unloaded_ = true;
  form_->hide();
}

}  // namespace qs
