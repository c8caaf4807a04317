#include "core/font.h"

namespace qs {

FontDesc default_font_desc() { return FontDesc{}; }

}  // namespace qs
