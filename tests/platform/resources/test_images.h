// The pictures in the test resources, as formulas: make_test_images writes them into .ico and
// .bmp files, and the tests expect exactly these pixels back from the embedded resources.
#pragma once

#include <cstdint>

namespace test_images {

// A palette entry (red, green, blue) for index i of a table of n colours.
inline std::uint32_t PaletteColor(int i, int n) {
  std::uint32_t r = static_cast<std::uint32_t>((i * 255) / (n - 1));
  std::uint32_t g = static_cast<std::uint32_t>(255 - (i * 97) % 256);
  std::uint32_t b = static_cast<std::uint32_t>((i * 41 + 7) % 256);
  return (r << 16) | (g << 8) | b;
}

// The palette index at (x, y), top-down, for an image with n colours.
inline int PaletteIndex(int x, int y, int n) { return (x + 3 * y + x * y) % n; }

// A direct colour at (x, y) as 0x00RRGGBB.
inline std::uint32_t DirectColor(int x, int y) {
  return (static_cast<std::uint32_t>(x * 9 % 256) << 16) | (static_cast<std::uint32_t>(y * 13 % 256) << 8) |
         static_cast<std::uint32_t>((x ^ y) * 5 % 256);
}

// The colour (0x00RRGGBB) that a test picture of a depth holds at (x, y): a palette colour up
// to 8 bits; a direct colour above, whose channels a 16-bit picture keeps in five bits each
// and widens again by repeating the top bits.
inline std::uint32_t StoredColor(int x, int y, int bitCount) {
  if (bitCount <= 8) {
    const int n = 1 << bitCount;
    return PaletteColor(PaletteIndex(x, y, n), n);
  }
  const std::uint32_t c = DirectColor(x, y);
  if (bitCount != 16) return c;
  auto five = [](std::uint32_t v) { return ((v >> 3) << 3) | (v >> 5); };
  return (five((c >> 16) & 0xFF) << 16) | (five((c >> 8) & 0xFF) << 8) | five(c & 0xFF);
}

// Whether the AND mask marks (x, y) transparent: a diagonal band and the first column.
inline bool MaskTransparent(int x, int y) { return x == 0 || (x + y) % 5 == 0; }

// Alpha of a 32-bit icon image at (x, y).
inline std::uint32_t Alpha(int x, int y) { return static_cast<std::uint32_t>((x * 16 + y * 3) % 256); }

// The images of the test icon, in the icon file's order.
struct IconShape {
  int size;
  int bitCount;  // 1, 4, 8 use a palette; 24 direct colours; 32 direct colours with alpha
};
inline constexpr IconShape kIconImages[] = {{16, 4}, {32, 8}, {24, 24}, {48, 32}, {20, 1}};
// The icon file also holds a PNG-compressed 64 by 64 image, which the platform skips.
inline constexpr int kPngImageSize = 64;

// The test bitmaps: width, height, bit count, and whether rows are stored top-down.
struct BitmapShape {
  int id;
  int width;
  int height;
  int bitCount;
  bool topDown;
};
inline constexpr BitmapShape kBitmaps[] = {{40, 5, 3, 8, false}, {41, 7, 4, 4, false},  {42, 6, 5, 24, true},
                                           {43, 9, 2, 1, false}, {44, 3, 3, 32, false}, {45, 4, 2, 16, false}};

}  // namespace test_images
