#include "controls/quorral/tray_record.h"

#include <algorithm>

namespace qs {

TrayRecord make_tray_record(uintptr_t window, intptr_t icon, std::string_view ansi_tip) {
  using L = TrayLayout;
  TrayRecord r{};
  put_tray_field(r, L::kSize, kTrayRecordSize);
  put_tray_field(r, L::kWindow, window);
  put_tray_field(r, L::kId, L::kIconId);
  put_tray_field(r, L::kFlags, L::kMessageIconTip);
  put_tray_field(r, L::kCallback, L::kCallbackMessage);
  put_tray_field(r, L::kIcon, uint64_t(icon));
  // Text, NUL, then spaces; whatever passes 64 bytes is cut.
  auto tip = r.begin() + L::kTip;
  std::fill(tip, tip + L::kTipWidth, uint8_t(' '));
  const size_t n = std::min(ansi_tip.size(), L::kTipWidth);
  std::copy_n(reinterpret_cast<const uint8_t*>(ansi_tip.data()), n, tip);
  if (n < L::kTipWidth) tip[n] = 0;
  return r;
}

TrayRecord& shared_tray_record() {
  thread_local TrayRecord record{};
  return record;
}

}  // namespace qs
