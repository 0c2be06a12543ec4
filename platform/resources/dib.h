// Packed device-independent bitmaps, the form of RT_BITMAP and RT_ICON data: a
// BITMAPINFOHEADER (or a later, longer version of it), the colour table, then the pixel rows,
// each padded to four bytes, bottom-up unless the height is negative.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi32/gdi32.h"
#include "platform/resources/resource_formats.h"

namespace win32::res {

struct PackedDib {
  int width = 0;
  int height = 0;  // rows of the colour image, always positive
  bool topDown = false;
  WORD bitCount = 0;
  std::vector<RGBQUAD> palette;
  std::size_t stride = 0;  // bytes per row of the colour image
  Bytes bits;              // the colour image's rows, exactly stride * height bytes
  Bytes rest;              // what follows the colour image (an icon's AND mask)

  // The pixel at (x, y), y counted from the top, as 0xAARRGGBB; alpha is the fourth byte of a
  // 32-bit pixel and 0 for every other depth. Coordinates must be inside the image.
  std::uint32_t Pixel(int x, int y) const;

  // A BITMAPINFO for CreateDIBitmap: a 40-byte header and the colour table, in DWORD storage.
  std::vector<DWORD> BitmapInfo() const;
};

// Uncompressed (BI_RGB) DIBs of 1, 4, 8, 16, 24 or 32 bits per pixel. `rowsPerImage` divides
// the header's height: 1 for bitmaps, 2 for icons, whose header counts the AND mask's rows
// too. Nothing for other formats and for damaged data.
std::optional<PackedDib> ParsePackedDib(Bytes data, int rowsPerImage);

}  // namespace win32::res
