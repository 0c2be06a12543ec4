// Helpers for gdi32's pixel tests: memory DCs with their own bitmaps, filled and read back
// one pixel at a time through SetPixel and GetPixel.
#pragma once

#include <functional>
#include <vector>

#include "platform/win32.h"

namespace gdi_test {

// A memory DC holding a new colour (32 bpp) or monochrome bitmap, released in the order the
// game releases its surfaces: the DC first, then the bitmap.
class Canvas {
 public:
  Canvas(int width, int height, bool mono = false)
      : width_(width),
        height_(height),
        dc_(CreateCompatibleDC(nullptr)),
        bitmap_(CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr)) {
    SelectObject(dc_, bitmap_);
  }
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

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
};

// A brush selected into a DC for the lifetime of the object.
class SelectedBrush {
 public:
  SelectedBrush(HDC dc, COLORREF color) : dc_(dc), brush_(CreateSolidBrush(color)) {
    previous_ = SelectObject(dc, brush_);
  }
  ~SelectedBrush() {
    SelectObject(dc_, previous_);
    DeleteObject(brush_);
  }
  SelectedBrush(const SelectedBrush&) = delete;
  SelectedBrush& operator=(const SelectedBrush&) = delete;

 private:
  HDC dc_;
  HBRUSH brush_;
  HGDIOBJ previous_;
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
