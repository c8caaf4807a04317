// The tray record in its 88-byte ANSI layout, and the thread's one shared copy.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"
#include "platform/tray_field.h"

namespace qs {

// Field offsets and the values an icon is placed with.
struct TrayLayout {
  static constexpr size_t kSize = kTraySize, kWindow = kTrayWindow, kId = kTrayId,
                          kFlags = kTrayFlags, kCallback = kTrayCallback, kIcon = kTrayIcon,
                          kTip = kTrayTip;
  static constexpr size_t kTipWidth = 64;
  static constexpr uint32_t kIconId = 1;
  static constexpr uint32_t kMessageIconTip = 7;  // NIF_MESSAGE + NIF_ICON + NIF_TIP
  static constexpr uint32_t kCallbackMessage = 512;  // WM_MOUSEMOVE
};

// The record that places an icon: size 88, the window, uID 1, flags 7,
// callback 512, the icon handle, and the tip (already in the ANSI code
// page) followed by one NUL, padded with spaces to 64 bytes and cut there.
TrayRecord make_tray_record(uintptr_t window, intptr_t icon, std::string_view ansi_tip);

// The record shared by every instance on the calling thread: all zeros
// until an icon is first placed on the thread.
TrayRecord& shared_tray_record();

}  // namespace qs
