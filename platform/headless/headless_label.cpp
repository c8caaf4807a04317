#include "platform/headless/headless_label.h"

namespace qs {

void HeadlessLabel::set_back_style(int16_t style) {
  if (style != 0 && style != 1) throw RuntimeError(kErrInvalidPropertyValue);
  back_style_ = style;
}

void HeadlessLabel::set_alignment(Alignment alignment) {
  auto value = static_cast<int16_t>(alignment);
  if (value < 0 || value > 2) throw RuntimeError(kErrInvalidPropertyValue);
  alignment_ = alignment;
}

}  // namespace qs
