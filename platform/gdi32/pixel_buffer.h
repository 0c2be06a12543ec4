// What gdi32 offers the rest of the platform for drawing into memory it does not own:
// the client area of a window (user32 keeps one PixelBuffer per window and shows it).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/win32_types.h"

namespace win32::gdi {

// 32-bit pixels 0xFFRRGGBB (QImage::Format_RGB32), top-down rows of `width` pixels.
struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  // Pixels inside both the old and the new size keep their values; new ones are black.
  void Resize(int newWidth, int newHeight);
};

// A device context that draws into `buffer`, with GDI's default attributes; this is what
// GetDC(hwnd) and BeginPaint hand out. Released with ReleaseBufferDC; DeleteDC refuses it.
HDC CreateBufferDC(std::shared_ptr<PixelBuffer> buffer);
BOOL ReleaseBufferDC(HDC hdc);

// The DC of the whole screen, what GetDC(NULL) hands out: GetDeviceCaps reports the current
// screen mode, CreateCompatibleBitmap on it gives colour bitmaps. The screen's pixels are
// not ours to read or write, so drawing on it is clipped away. Released with ReleaseBufferDC.
HDC CreateScreenDC();

// Every GDI object alive (DCs, bitmaps, brushes, fonts), stock objects excluded.
std::size_t LiveObjectCount();

}  // namespace win32::gdi
