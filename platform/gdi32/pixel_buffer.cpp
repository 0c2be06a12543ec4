#include "platform/gdi32/pixel_buffer.h"

#include <algorithm>

#include "platform/gdi32/pixel.h"

namespace win32::gdi {

void PixelBuffer::Resize(int newWidth, int newHeight) {
  newWidth = std::max(newWidth, 0);
  newHeight = std::max(newHeight, 0);
  if (newWidth == width && newHeight == height && pixels.size() == std::size_t(width) * height) return;
  std::vector<std::uint32_t> resized(std::size_t(newWidth) * newHeight, kBlack);
  const int keepWidth = std::min(width, newWidth);
  const int keepHeight = std::min(height, newHeight);
  if (pixels.size() >= std::size_t(width) * height) {
    for (int y = 0; y < keepHeight; ++y)
      std::copy_n(pixels.begin() + std::ptrdiff_t(y) * width, keepWidth,
                  resized.begin() + std::ptrdiff_t(y) * newWidth);
  }
  pixels = std::move(resized);
  width = newWidth;
  height = newHeight;
}

}  // namespace win32::gdi
