// Device-dependent bitmaps and single pixels.
#include "platform/gdi32/bitmap_limits.h"
#include "platform/gdi32/handle_table.h"

using namespace win32::gdi;

namespace {

HBITMAP NewBitmap(int width, int height, bool mono) {
  return static_cast<HBITMAP>(Objects().Insert(Bitmap(width, height, mono)));
}

// Pixels of CreateBitmap's initial bits, in rows of whole 16-bit words.
Pixel ReadDdbPixel(const BYTE* row, int x, int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1:
      return (row[x >> 3] & (0x80 >> (x & 7))) ? kWhite : kBlack;
    case 16: {
      unsigned v = row[2 * x] | (row[2 * x + 1] << 8);  // 5-6-5
      unsigned r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
      return kOpaque | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
    }
    case 24:
      return kOpaque | (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x];
    default:
      return kOpaque | (row[4 * x + 2] << 16) | (row[4 * x + 1] << 8) | row[4 * x];
  }
}

}  // namespace

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || cx < 0 || cy < 0) return nullptr;
  if (cx == 0 || cy == 0) return Objects().DefaultBitmap();
  if (!SizeAllowed(cx, cy)) return nullptr;
  return NewBitmap(cx, cy, MakesMonoBitmaps(*dc));
}

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
  if (nWidth < 0 || nHeight < 0) return nullptr;
  if (nWidth == 0 || nHeight == 0) return Objects().DefaultBitmap();
  UINT bitsPerPixel = nPlanes * nBitCount;
  if (bitsPerPixel != 1 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
  if (!SizeAllowed(nWidth, nHeight)) return nullptr;
  HBITMAP handle = NewBitmap(nWidth, nHeight, bitsPerPixel == 1);
  if (!handle || !lpBits) return handle;
  Bitmap& bitmap = *FindBitmap(handle);
  const std::size_t stride = (std::size_t(nWidth) * bitsPerPixel + 15) / 16 * 2;
  const auto* bytes = static_cast<const BYTE*>(lpBits);
  for (int y = 0; y < nHeight; ++y) {
    Pixel* out = bitmap.View().Row(y);
    for (int x = 0; x < nWidth; ++x) out[x] = ReadDdbPixel(bytes + stride * y, x, static_cast<int>(bitsPerPixel));
  }
  return handle;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return CLR_INVALID;
  PixelView view = ViewOf(*dc);
  if (!view.Contains(x, y)) return CLR_INVALID;
  return ColorFromPixel(view.Row(y)[x]);
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return CLR_INVALID;
  PixelView view = ViewOf(*dc);
  if (!view.Contains(x, y)) return CLR_INVALID;
  Pixel p = view.Realize(color);
  view.Row(y)[x] = p;
  return ColorFromPixel(p);
}
