// The tray record in its 88-byte ANSI layout, and the thread's one shared copy.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"

namespace qs {

// Field offsets and the values an icon is placed with.
struct TrayLayout {
  static constexpr size_t kSize = 0, kWindow = 4, kId = 8, kFlags = 12, kCallback = 16,
                          kIcon = 20, kTip = 24;
  static constexpr size_t kTipWidth = 64;
  static constexpr uint32_t kIconId = 1;
  static constexpr uint32_t kMessageIconTip = 7;  // NIF_MESSAGE + NIF_ICON + NIF_TIP
  static constexpr uint32_t kCallbackMessage = 512;  // WM_MOUSEMOVE
};

// Writes a 4-byte little-endian field; handles keep their low 32 bits,
// where the platform's window and icon handles always fit.
void put_tray_field(TrayRecord& record, size_t offset, uint64_t value);
uint32_t get_tray_field(const TrayRecord& record, size_t offset);

// The record that places an icon: size 88, the window, uID 1, flags 7,
// callback 512, the icon handle, and the tip (already in the ANSI code
// page) followed by one NUL, padded with spaces to 64 bytes and cut there.
TrayRecord make_tray_record(uintptr_t window, intptr_t icon, std::string_view ansi_tip);

// The record shared by every instance on the calling thread: all zeros
// until an icon is first placed on the thread.
TrayRecord& shared_tray_record();

}  // namespace qs
