// Test helpers: a 32-bit drawing target whose pixels a test can read, and bitmaps made
// from pixel functions.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#ifndef _WIN32
#include "platform/gdi32/pixel_buffer.h"
#endif
#include "platform/win32.h"

namespace render_test {

// A colour as the canvas stores it: 0x00RRGGBB (the canvas's alpha byte is dropped).
using Rgb = std::uint32_t;
constexpr Rgb RgbOf(int r, int g, int b) { return (Rgb(r) << 16) | (Rgb(g) << 8) | Rgb(b); }
constexpr Rgb RgbOf(COLORREF c) { return RgbOf(GetRValue(c), GetGValue(c), GetBValue(c)); }
constexpr COLORREF ColorRefOf(Rgb rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// A window-like DC whose pixels a test reads: on Linux what GetDC hands out, on a pixel
// buffer of platform/gdi32, without a window; on Windows a memory DC with a 32-bit DIB
// section, the closest that Win32 offers.
class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = 0);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return dc; }
  int Width() const { return width; }
  int Height() const { return height; }
  Rgb At(int x, int y) const { return Pixels()[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
  void Fill(Rgb colour);
  void Fill(const std::function<Rgb(int x, int y)>& colourAt);

 private:
  // The pixels, top row first, as 0x??RRGGBB words, once GDI has finished drawing them.
  std::uint32_t* Pixels() const;

  int width;
  int height;
#ifdef _WIN32
  HBITMAP section;
  HGDIOBJ previous;
  std::uint32_t* bits = nullptr;
#else
  std::shared_ptr<win32::gdi::PixelBuffer> buffer;
#endif
  HDC dc;
};

// How many GDI objects the process holds, for the tests that check that drawing leaks none:
// platform/gdi32 counts its handle table, Windows answers GetGuiResources.
std::size_t LiveObjectCount();
// False under Wine, whose GetGuiResources is a stub that counts no object at all.
bool ObjectsAreCounted();

// A colour bitmap of width by height compatible with hdcRef, pixel (x, y) being colourAt(x, y).
HBITMAP MakeBitmap(HDC hdcRef, int width, int height, const std::function<Rgb(int x, int y)>& colourAt);

}  // namespace render_test

// Skips a test whose point is the GDI object count where there is none to read (Wine).
#define SKIP_UNLESS_OBJECTS_ARE_COUNTED()  \
  if (!::render_test::ObjectsAreCounted()) \
  GTEST_SKIP() << "GDI objects are not counted here: Wine's GetGuiResources answers 0"
