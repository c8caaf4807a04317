// Captures what a window shows on screen, children included, and writes it
// as a 24-bit BMP file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qs::container {

// A captured image, top row first, one COLORREF (0x00BBGGRR) per pixel.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> data;

  COLORREF at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};

// Repaints `hwnd` and its children, then copies its area (the client area,
// or the whole window with `whole_window`) from the screen. False when the
// window has no area or the copy fails.
bool capture_window(HWND hwnd, Pixels* out, bool whole_window = false);
// Writes a 24-bit bottom-up BMP; false on an I/O failure.
bool write_bmp(const std::wstring& path, const Pixels& pixels);

}  // namespace qs::container
