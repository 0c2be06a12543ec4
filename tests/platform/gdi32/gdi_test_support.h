// Helpers for gdi32's pixel tests: memory DCs with their own bitmaps, filled and read back
// one pixel at a time through SetPixel and GetPixel, or whole through DIBs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/win32.h"

namespace gdi_test {

// The header of a top-down DIB of 32 bits per pixel, whose pixels are 0x00RRGGBB words: the
// form CreateDIBitmap takes whole pictures in and GetDIBits gives them back.
inline BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A bitmap's pixels as 0x00RRGGBB words, top row first, read with GetDIBits.
inline std::vector<std::uint32_t> ReadDibWords(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = TopDownInfo(width, height);
  std::vector<std::uint32_t> words(std::size_t(width) * height, 0xDEADBEEF);
  EXPECT_EQ(GetDIBits(dc, bitmap, 0, height, words.data(), &info, DIB_RGB_COLORS), height);
  return words;
}

// A memory DC holding a new colour (32 bpp) or monochrome bitmap, released in the order the
// game releases its surfaces: the DC first, then the bitmap.
class Canvas {
 public:
  Canvas(int width, int height, bool mono = false) : Canvas(width, height, mono ? 1 : 32, nullptr) {}
  // A colour bitmap made from 0xFFRRGGBB words, top row first.
  Canvas(int width, int height, const std::vector<std::uint32_t>& words) : Canvas(width, height, 32, words.data()) {}
  ~Canvas() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }

  void Fill(COLORREF color) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) SetPixel(dc_, x, y, color);
  }
  void Paint(const std::function<COLORREF(int x, int y)>& color) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) SetPixel(dc_, x, y, color(x, y));
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> out;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) out.push_back(At(x, y));
    return out;
  }
  // The pixels as 0xFFRRGGBB words, read whole with GetDIBits.
  std::vector<std::uint32_t> Words() const {
    SelectObject(dc_, initial_);  // GetDIBits wants the bitmap selected nowhere
    std::vector<std::uint32_t> words = ReadDibWords(dc_, bitmap_, width_, height_);
    SelectObject(dc_, bitmap_);
    for (std::uint32_t& word : words) word |= 0xFF000000u;
    return words;
  }

 private:
  Canvas(int width, int height, UINT bitCount, const void* bits)
      : width_(width),
        height_(height),
        dc_(CreateCompatibleDC(nullptr)),
        bitmap_(CreateBitmap(width, height, 1, bitCount, bits)),
        initial_(SelectObject(dc_, bitmap_)) {}

  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ initial_;  // the DC's own bitmap, which it held before this one
};

// A new GDI object selected into a DC for the lifetime of this, then put back out of it and
// deleted.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), previous_(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(dc_, previous_);
    DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ previous_;
};

// A solid brush selected into a DC.
class SelectedBrush : public Selected {
 public:
  SelectedBrush(HDC dc, COLORREF color) : Selected(dc, CreateSolidBrush(color)) {}
};

// Where a stretch goes and comes from, and the sizes of the two surfaces.
struct StretchGeometry {
  const char* name;
  int srcW, srcH, dstW, dstH;
  int xd, yd, wd, hd, xs, ys, ws, hs;
};

inline int Red(COLORREF c) { return GetRValue(c); }
inline int Green(COLORREF c) { return GetGValue(c); }
inline int Blue(COLORREF c) { return GetBValue(c); }

}  // namespace gdi_test
