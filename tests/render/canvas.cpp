#include "tests/render/canvas.h"

#include <vector>

#include "tests/platform/gdi32/gdi_test_support.h"

namespace render_test {

Canvas::Canvas(int width, int height, Rgb fill) : buffer(std::make_shared<win32::gdi::PixelBuffer>()) {
  buffer->Resize(width, height);
  Fill(fill);
  dc = win32::gdi::CreateBufferDC(buffer);
}

Canvas::~Canvas() { win32::gdi::ReleaseBufferDC(dc); }

void Canvas::Fill(Rgb colour) {
  for (std::uint32_t& pixel : buffer->pixels) pixel = 0xFF000000u | colour;
}

void Canvas::Fill(const std::function<Rgb(int x, int y)>& colourAt) {
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x)
      buffer->pixels[static_cast<std::size_t>(y) * Width() + x] = 0xFF000000u | colourAt(x, y);
}

HBITMAP MakeBitmap(HDC hdcRef, int width, int height, const std::function<Rgb(int x, int y)>& colourAt) {
  // A top-down 32-bit DIB: each pixel is 0x00RRGGBB in memory order B, G, R, 0.
  std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bits[static_cast<std::size_t>(y) * width + x] = colourAt(x, y);
  BITMAPINFO info = gdi_test::TopDownInfo(width, height);
  return CreateDIBitmap(hdcRef, &info.bmiHeader, CBM_INIT, bits.data(), &info, DIB_RGB_COLORS);
}

}  // namespace render_test
