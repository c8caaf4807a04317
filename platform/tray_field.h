// The 4-byte little-endian fields of a tray record (see TrayRecord), read and
// written in one place for the control that fills the record and for the
// platforms that take it apart.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace qs {

// Field offsets of the 88-byte layout; the 64-byte tip follows at kTrayTip.
enum TrayFieldOffset : size_t {
  kTraySize = 0,
  kTrayWindow = 4,
  kTrayId = 8,
  kTrayFlags = 12,
  kTrayCallback = 16,
  kTrayIcon = 20,
  kTrayTip = 24,
};

inline uint32_t get_tray_field(const TrayRecord& record, size_t offset) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= uint32_t(record[offset + i]) << (8 * i);
  return v;
}

// Handles keep their low 32 bits, where the platform's window and icon
// handles always fit.
inline void put_tray_field(TrayRecord& record, size_t offset, uint64_t value) {
  for (size_t i = 0; i < 4; ++i) record[offset + i] = uint8_t(value >> (8 * i));
}

}  // namespace qs
