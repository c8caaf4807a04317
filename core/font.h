// Font objects: the values behind the Font properties (pictures are in
// core/picture.h, included here for the code that takes both).
//
// Fonts, like pictures, are reference objects (assigned by reference, shared between holders);
// a null FontRef or PictureRef is "no object".
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/picture.h"

namespace qs {

// What a font is: face, size in points, weight and style.
struct FontDesc {
  std::u16string name = u"MS Sans Serif";
  double size = 8.25;  // points, as a currency value (four decimals)
  int16_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int16_t charset = 0;

  bool bold() const { return weight >= 550; }
  bool operator==(const FontDesc&) const = default;
};

// A font object. Mutable: a holder may change the font it shares.
class Font {
 public:
  Font() = default;
  explicit Font(FontDesc desc) : desc_(std::move(desc)) {}
  const FontDesc& desc() const { return desc_; }
  FontDesc& desc() { return desc_; }

 private:
  FontDesc desc_;
};
using FontRef = std::shared_ptr<Font>;

inline FontRef make_font(FontDesc desc = {}) { return std::make_shared<Font>(std::move(desc)); }

// The font a control falls back to where its container gives no ambient font.
FontDesc default_font_desc();


}  // namespace qs
