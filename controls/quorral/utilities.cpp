#include "controls/quorral/utilities.h"

#include <memory>
#include <vector>

#include "controls/quorral/message_box_form.h"
#include "core/runtime_error.h"
#include "core/skip_on_failure.h"
#include "library/about_form.h"

namespace qs {

namespace {

// A box shown modeless lives on until one of its buttons unloads it; the
// form cannot be destroyed inside its own click, so unloaded ones are
// released at the next call.
thread_local std::vector<std::unique_ptr<MessageBoxForm>> t_modeless;

void release_unloaded_boxes() {
  std::erase_if(t_modeless, [](const auto& box) { return box->unloaded(); });
}

}  // namespace

int open_modeless_boxes() {
  release_unloaded_boxes();
  return static_cast<int>(t_modeless.size());
}

int16_t msg_box(Platform& platform, const PictureRef& picture, const Variant& prompt,
                const Variant& buttons, const Variant& top, const Variant& left,
                const Variant& spike) {
  SkipOnFailure steps;
  steps.step([] { release_unloaded_boxes(); });
  MsgBoxRequest& request = msg_box_request();
  steps.step([&] { request.Picture = picture ? Variant(picture) : Variant::nothing(); });
  steps.step([&] { request.Prompt = prompt; });
  steps.step([&] { request.Buttons = Variant(buttons.is_missing() ? 0 : buttons.to_long()); });
  steps.step([&] { request.Top = top; });
  steps.step([&] { request.Left = left; });
  steps.step([&] { request.Spike = Variant(spike.is_missing() ? 0 : spike.to_long()); });

  bool credits = false;
  steps.step([&] { credits = request.Buttons.to_long() == kCreditsButtons; });
  if (credits) {
    steps.step([&] { show_credits(platform); });
  } else {
    std::unique_ptr<MessageBoxForm> box;
    steps.step([&] { box = std::make_unique<MessageBoxForm>(platform); });
    if (box) {
      bool modal = false;
      steps.step([&] {
        box->form().show_modal();
        modal = true;
      });
      if (!modal && !box->unloaded()) {
        // A container that cannot take a modal form now gets the box
        // modeless; it stays up until one of its buttons is pressed.
        steps.step([&] {
          box->form().show();
          t_modeless.push_back(std::move(box));
        });
      }
    }
  }
  int16_t result = 0;
  steps.step([&] { result = request.Result.is_empty() ? int16_t(0) : request.Result.to_integer(); });
  return result;
}

bool float_window(Platform& platform, const Variant& window, bool floating) {
  bool accepted = false;
  SkipOnFailure steps;
  steps.step([&] {
    const int32_t handle = window.to_long();
    accepted = platform.set_window_pos(handle, floating ? kHwndTopmost : kHwndNoTopmost,
                                       kSwpNoMove | kSwpNoSize);
  });
  return accepted;
}

Variant play_sound(Platform& platform, const Variant& file_name) {
  const std::string name = platform.to_ansi(file_name.to_text());
  const int32_t result = platform.snd_play_sound(name, kSndAsync);
  return Variant(static_cast<int16_t>(result));
}

}  // namespace qs
