#include "tests/render/canvas.h"

#include <vector>

#include "tests/platform/gdi32/gdi_test_support.h"

namespace render_test {

#ifdef _WIN32

Canvas::Canvas(int width, int height, Rgb fill) : width(width), height(height) {
  dc = CreateCompatibleDC(NULL);
  BITMAPINFO info = gdi_test::TopDownInfo(width, height);
  void* memory = nullptr;
  section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &memory, NULL, 0);
  bits = static_cast<std::uint32_t*>(memory);
  previous = SelectObject(dc, section);
  Fill(fill);
}

Canvas::~Canvas() {
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(section);
}

std::uint32_t* Canvas::Pixels() const {
  GdiFlush();
  return bits;
}

std::size_t LiveObjectCount() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

bool ObjectsAreCounted() {
  // Any process that has drawn holds a few objects; a count of none means there is no count.
  Canvas canvas(1, 1);
  return LiveObjectCount() != 0;
}

#else

Canvas::Canvas(int width, int height, Rgb fill)
    : width(width), height(height), buffer(std::make_shared<win32::gdi::PixelBuffer>()) {
  buffer->Resize(width, height);
  Fill(fill);
  dc = win32::gdi::CreateBufferDC(buffer);
}

Canvas::~Canvas() { win32::gdi::ReleaseBufferDC(dc); }

std::uint32_t* Canvas::Pixels() const { return buffer->pixels.data(); }

std::size_t LiveObjectCount() { return win32::gdi::LiveObjectCount(); }

bool ObjectsAreCounted() { return true; }

#endif

void Canvas::Fill(Rgb colour) {
  Fill([colour](int, int) { return colour; });
}

void Canvas::Fill(const std::function<Rgb(int x, int y)>& colourAt) {
  std::uint32_t* pixels = Pixels();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[static_cast<std::size_t>(y) * width + x] = 0xFF000000u | colourAt(x, y);
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
