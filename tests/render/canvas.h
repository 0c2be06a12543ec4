// Test helpers: a 32-bit drawing target whose pixels a test can read, and bitmaps made
// from pixel functions.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gdi32/pixel_buffer.h"
#include "platform/win32.h"

namespace render_test {

// A colour as the canvas stores it: 0x00RRGGBB (the canvas's alpha byte is dropped).
using Rgb = std::uint32_t;
constexpr Rgb RgbOf(int r, int g, int b) { return (Rgb(r) << 16) | (Rgb(g) << 8) | Rgb(b); }
constexpr Rgb RgbOf(COLORREF c) { return RgbOf(GetRValue(c), GetGValue(c), GetBValue(c)); }
constexpr COLORREF ColorRefOf(Rgb rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// A window-like DC on a pixel buffer: what GetDC hands out, without a window.
class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = 0);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return dc; }
  int Width() const { return buffer->width; }
  int Height() const { return buffer->height; }
  Rgb At(int x, int y) const { return buffer->pixels[static_cast<std::size_t>(y) * buffer->width + x] & 0xFFFFFF; }
  void Fill(Rgb colour);
  void Fill(const std::function<Rgb(int x, int y)>& colourAt);

 private:
  std::shared_ptr<win32::gdi::PixelBuffer> buffer;
  HDC dc;
};

// A colour bitmap of width by height compatible with hdcRef, pixel (x, y) being colourAt(x, y).
HBITMAP MakeBitmap(HDC hdcRef, int width, int height, const std::function<Rgb(int x, int y)>& colourAt);

}  // namespace render_test
