#include "container/window_capture.h"

#include <cstdio>

namespace qs::container {

bool capture_window(HWND hwnd, Pixels* out, bool whole_window) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  RECT rect;
  if (whole_window) {
    GetWindowRect(hwnd, &rect);
  } else {
    GetClientRect(hwnd, &rect);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  }
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  // The screen holds the composed picture of the window and every child,
  // which a window DC clipped to its own area would not.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = bitmap != nullptr;
  if (ok) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
    GdiFlush();
    SelectObject(memory, old);
  }
  if (ok) {
    out->width = width;
    out->height = height;
    out->data.resize(static_cast<size_t>(width) * height);
    const auto* src = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < out->data.size(); ++i) {
      uint32_t bgra = src[i];
      out->data[i] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool write_bmp(const std::wstring& path, const Pixels& pixels) {
  int row = (pixels.width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = pixels.width;
  header.biHeight = pixels.height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(row) * pixels.height;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&header, sizeof header, 1, f) == 1;
  std::vector<uint8_t> line(row, 0);
  for (int y = pixels.height - 1; ok && y >= 0; --y) {
    for (int x = 0; x < pixels.width; ++x) {
      COLORREF c = pixels.at(x, y);
      line[x * 3] = GetBValue(c);
      line[x * 3 + 1] = GetGValue(c);
      line[x * 3 + 2] = GetRValue(c);
    }
    ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
  }
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

}  // namespace qs::container
