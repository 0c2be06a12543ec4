// The layout of a device-independent bitmap (a BITMAPINFO and its bits) and the conversion
// of its rows to and from gdi32's pixels.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/gdi32/gdi32.h"
#include "platform/gdi32/pixel.h"

namespace win32::gdi {

struct DibFormat {
  int width = 0;
  int height = 0;  // always positive; see topDown
  bool topDown = false;
  int bitCount = 0;
  DWORD compression = BI_RGB;
  std::vector<Pixel> colors;   // the colour table, for 1, 4 and 8 bits per pixel
  DWORD masks[3] = {0, 0, 0};  // red, green, blue, for BI_BITFIELDS
  std::size_t stride = 0;      // bytes per row, a multiple of 4

  std::size_t ImageSize() const { return stride * static_cast<std::size_t>(height); }
  // The bitmap row that DIB scan line `line` fills (scan line 0 is the bottom row of a
  // bottom-up DIB and the top row of a top-down one), for a bitmap `rows` high.
  int RowOfLine(int line, int rows) const { return topDown ? line : rows - 1 - line; }

  void DecodeRow(const BYTE* in, Pixel* out, int count) const;
  // Colours outside a colour table take the nearest entry.
  void EncodeRow(const Pixel* in, BYTE* out, int count) const;
};

// Reads the header (BITMAPINFOHEADER, its later versions, or BITMAPCOREHEADER) and the
// colour table of a DIB described with DIB_RGB_COLORS. Nothing for formats this platform
// does not decode (RLE, JPEG, PNG, palette indexes, odd bit counts) or absurd sizes.
std::optional<DibFormat> ReadDibFormat(const BITMAPINFO* info);

// The format GetDIBits writes for a BITMAPINFOHEADER's request: BI_RGB at 1, 4, 8, 16, 24
// or 32 bits per pixel, with this platform's colour table for 1, 4 and 8 (black and white;
// the 16 VGA colours; those, a 6x6x6 colour cube and a grey ramp).
std::optional<DibFormat> OutputDibFormat(const BITMAPINFOHEADER& request);

}  // namespace win32::gdi
