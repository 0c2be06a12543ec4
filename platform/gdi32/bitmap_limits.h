// The largest bitmap gdi32 makes: requests beyond it fail instead of exhausting memory.
#pragma once

#include <cstdint>

namespace win32::gdi {

inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 26;  // 256 MiB of pixels
inline constexpr int kMaxBitmapSide = 1 << 16;

constexpr bool SizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
         width * height <= kMaxBitmapPixels;
}

}  // namespace win32::gdi
