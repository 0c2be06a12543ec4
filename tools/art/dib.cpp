#include "tools/art/dib.h"

namespace art {

std::uint32_t RowStride(int width, int bits) { return (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4; }

std::uint32_t PixelBytes(const IndexedImage& image, int bits) { return RowStride(image.width, bits) * image.height; }

std::uint32_t MaskBytes(const IndexedImage& image) { return RowStride(image.width, 1) * image.height; }

void WriteInfoHeader(ByteWriter& out, const IndexedImage& image, int bits, int heightField, std::uint32_t imageBytes) {
  out.U32LE(kInfoHeaderSize);
  out.U32LE(static_cast<std::uint32_t>(image.width));
  out.U32LE(static_cast<std::uint32_t>(heightField));
  out.U16LE(1);  // planes
  out.U16LE(static_cast<std::uint32_t>(bits));
  out.U32LE(0);  // BI_RGB
  out.U32LE(imageBytes);
  out.U32LE(0);  // no physical resolution
  out.U32LE(0);
  out.U32LE(0);  // a full colour table of 2^bits entries
  out.U32LE(0);  // all colours important
}

void WriteColourTable(ByteWriter& out, const IndexedImage& image) {
  for (const Rgb& c : image.palette) {
    out.U8(c.b);
    out.U8(c.g);
    out.U8(c.r);
    out.U8(0);
  }
}

namespace {

// Packs rows bottom-up, most significant bits first, each row padded to four bytes.
template <typename BitsOf>
void WriteRows(ByteWriter& out, int width, int height, int bits, BitsOf bitsOf) {
  const std::size_t start = out.size();
  const std::uint32_t stride = RowStride(width, bits);
  for (int y = height - 1; y >= 0; --y) {
    std::uint32_t acc = 0;
    int filled = 0;
    for (int x = 0; x < width; ++x) {
      acc = (acc << bits) | bitsOf(x, y);
      filled += bits;
      if (filled == 8) {
        out.U8(acc);
        acc = 0;
        filled = 0;
      }
    }
    if (filled > 0) out.U8(acc << (8 - filled));
    while ((out.size() - start) % stride != 0) out.U8(0);
  }
}

}  // namespace

void WritePixelRows(ByteWriter& out, const IndexedImage& image, int bits) {
  WriteRows(out, image.width, image.height, bits,
            [&](int x, int y) { return image.indices[static_cast<std::size_t>(y) * image.width + x]; });
}

void WriteMaskRows(ByteWriter& out, const IndexedImage& image) {
  WriteRows(out, image.width, image.height, 1, [&](int x, int y) {
    return !image.transparent.empty() && image.transparent[static_cast<std::size_t>(y) * image.width + x] ? 1u : 0u;
  });
}

}  // namespace art
