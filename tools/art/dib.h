// The device-independent bitmap pieces shared by BMP files and icon images: the
// BITMAPINFOHEADER, the colour table, and bottom-up pixel rows padded to four bytes.
#pragma once

#include <cstdint>

#include "tools/art/bytes.h"
#include "tools/art/indexed_image.h"

namespace art {

inline constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint32_t RowStride(int width, int bits);
std::uint32_t PixelBytes(const IndexedImage& image, int bits);
std::uint32_t MaskBytes(const IndexedImage& image);

// BI_RGB; `heightField` is the image height, or twice it for an icon's image and mask.
void WriteInfoHeader(ByteWriter& out, const IndexedImage& image, int bits, int heightField, std::uint32_t imageBytes);
void WriteColourTable(ByteWriter& out, const IndexedImage& image);
void WritePixelRows(ByteWriter& out, const IndexedImage& image, int bits);
// One bit per pixel, set where the image is transparent.
void WriteMaskRows(ByteWriter& out, const IndexedImage& image);

}  // namespace art
