// Font and picture objects: the values behind the Font and picture properties.
//
// Both are reference objects (assigned by reference, shared between holders);
// a null FontRef or PictureRef is "no object".
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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

enum class PictureType : int16_t { kNone = 0, kBitmap = 1, kIcon = 3 };

// A picture object: a bitmap or icon with a platform handle, or the empty
// picture (type none). Sizes are in HIMETRIC as the platform's picture has.
struct Picture {
  PictureType type = PictureType::kNone;
  intptr_t handle = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const Picture&) const = default;
};
using PictureRef = std::shared_ptr<Picture>;

}  // namespace qs
