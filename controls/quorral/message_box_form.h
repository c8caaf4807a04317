// The tray control's own message box: an elliptic speech bubble with an
// optional spike towards a corner, a 3-pixel black outline, a background
// picture, a prompt and one to three buttons in a row.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/variant.h"
#include "platform/platform.h"

namespace qs {

// The request the MsgBox method fills and the form reads while it loads,
// and the answer the form leaves. One per thread; every field starts empty.
struct MsgBoxRequest {
  Variant Picture;  // the background picture (an object or no object)
  Variant Prompt;
  Variant Buttons;  // the button set
  Variant Top;      // twips, or missing: the form centres the box
  Variant Left;
  Variant Spike;    // the corner spike
  Variant Result;   // the last answer code on this thread
};
MsgBoxRequest& msg_box_request();

// Answer codes by button caption.
enum MsgBoxAnswer : int16_t {
  kAnswerOk = 1,
  kAnswerCancel = 2,
  kAnswerYes = 3,
  kAnswerNo = 4,
  kAnswerAbort = 5,
  kAnswerRetry = 6,
  kAnswerIgnore = 7,
  kAnswerOther = 8
};
// The code for a caption, compared in lower case.
int16_t answer_for_caption(std::u16string_view caption);

class MessageBoxForm {
 public:
  // Creates the form and loads it from the thread's request: prompt,
  // position, window shape, outline, picture and buttons.
  explicit MessageBoxForm(Platform& platform);
  ~MessageBoxForm();
  MessageBoxForm(const MessageBoxForm&) = delete;
  MessageBoxForm& operator=(const MessageBoxForm&) = delete;

  // Makes buttons visible: 1 the middle one, 2 the outer two, anything
  // else all three. It never hides a button.
  void ShowButtons(const Variant& count);

  Form& form() { return *form_; }
  CommandButton& button(int index) { return *buttons_.at(static_cast<size_t>(index)); }
  // True once a button was pressed: the answer is written and the form
  // hidden, ready to be unloaded by its owner (a modeless box's owner looks
  // at this on its next call).
  bool unloaded() const { return unloaded_; }

 private:
  void layout_shape();
  void press(int index);

  std::unique_ptr<Form> form_;
  Platform& platform_;
  Label* prompt_ = nullptr;
  std::array<CommandButton*, 3> buttons_{};
  bool unloaded_ = false;
};

}  // namespace qs
