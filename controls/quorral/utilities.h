// The tray control's utility methods that stand apart from its tray icon:
// its message box, the window float switch and the sound player.
#pragma once

#include <cstdint>
#include <string>

#include "core/font.h"
#include "core/variant.h"
#include "platform/platform.h"

namespace qs {

// Button value that shows the credits form instead of a message box.
constexpr int32_t kCreditsButtons = 100;

// Shows the library's message box for the request and returns the answer
// code (the previous answer on this thread when the box closed without a
// button, was shown modeless, or for the credits; 0 if none was ever
// given). Reports no errors: a failing step is skipped.
int16_t msg_box(Platform& platform, const PictureRef& picture, const Variant& prompt,
                const Variant& buttons, const Variant& top, const Variant& left,
                const Variant& spike);

// Keeps a window above all non-topmost ones (or releases it); true when the
// system accepted. A handle that is not a 32-bit integer gives false and no
// call; no error reaches the caller.
bool float_window(Platform& platform, const Variant& window, bool floating);

// Starts playing a sound file and returns at once with the platform's
// result as a 16-bit integer (non-zero on success).
Variant play_sound(Platform& platform, const Variant& file_name);

// Message boxes shown modeless and not yet answered on this thread.
int open_modeless_boxes();

}  // namespace qs
