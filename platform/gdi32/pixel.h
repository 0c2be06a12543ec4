// Pixel values as gdi32 stores them, and the conversions between them and COLORREF.
//
// Every bitmap and window buffer holds 32-bit 0xFFRRGGBB pixels (QImage::Format_RGB32), so
// Qt can draw into them in place. A monochrome bitmap uses the same storage and holds only
// black (0xFF000000, bit 0) and white (0xFFFFFFFF, bit 1): the raster operations then run on
// both kinds with the same row functions, and bitwise results on black and white stay black
// and white.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

namespace win32::gdi {

using Pixel = std::uint32_t;

inline constexpr Pixel kOpaque = 0xFF000000u;
inline constexpr Pixel kBlack = 0xFF000000u;
inline constexpr Pixel kWhite = 0xFFFFFFFFu;

constexpr Pixel PixelFromColor(COLORREF c) {
  return kOpaque | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

constexpr COLORREF ColorFromPixel(Pixel p) { return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16); }

constexpr bool SameColor(Pixel a, Pixel b) { return ((a ^ b) & 0x00FFFFFFu) == 0; }

// The nearer of black and white, for colours that a monochrome surface must hold (brushes,
// text colours, DIB colours). BitBlt's own colour-to-monochrome rule is different: it
// compares with the source's background colour.
constexpr Pixel NearestMono(Pixel p) {
  unsigned sum = ((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu);
  return sum * 2 > 3u * 255u ? kWhite : kBlack;
}

constexpr bool IsWhiteBit(Pixel monoPixel) { return (monoPixel & 1u) != 0; }

// A rectangle of pixels to draw on: a bitmap, a window's buffer, or nothing (the screen).
struct PixelView {
  Pixel* pixels = nullptr;
  int width = 0;
  int height = 0;
  bool mono = false;

  Pixel* Row(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * width; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // The pixel value a colour takes on this surface.
  Pixel Realize(COLORREF c) const { return mono ? NearestMono(PixelFromColor(c)) : PixelFromColor(c); }
};

}  // namespace win32::gdi
