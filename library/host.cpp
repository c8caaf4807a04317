#include "library/host.h"

namespace qs {

FontRef ambient_or_default_font(Host& host) {
  if (FontRef f = host.ambient_font()) return f;
  return make_font(default_font_desc());
}

}  // namespace qs
