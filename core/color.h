// Colour values: 0x00BBGGRR, or 0x80000000 + n for system colour n.
#pragma once

#include <cstdint>

namespace qs {

using OleColor = uint32_t;

constexpr OleColor kSystemColorFlag = 0x80000000u;
constexpr OleColor kColorWindowBackground = 0x80000005u;
constexpr OleColor kColorWindowText = 0x80000008u;
constexpr OleColor kColorButtonFace = 0x8000000Fu;
constexpr OleColor kColorButtonText = 0x80000012u;

constexpr bool is_system_color(OleColor c) { return (c & kSystemColorFlag) != 0; }
constexpr uint32_t system_color_index(OleColor c) { return c & 0x7FFFFFFFu; }

// An RGB colour from components 0..255.
constexpr OleColor rgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<OleColor>(r) | (static_cast<OleColor>(g) << 8) |
         (static_cast<OleColor>(b) << 16);
}

// The colour from three components as the runtime's RGB function forms it:
// each is a number rounded to an integer; below 0 is an invalid argument
// (error 5) and above 255 counts as 255.
OleColor make_rgb(double red, double green, double blue);

}  // namespace qs
