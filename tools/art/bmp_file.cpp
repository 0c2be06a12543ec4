#include "tools/art/bmp_file.h"

#include "tools/art/dib.h"

namespace art {

Bytes EncodeBmp(const IndexedImage& image, int bits) {
  constexpr std::uint32_t kFileHeaderSize = 14;
  const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * static_cast<std::uint32_t>(image.palette.size());
  const std::uint32_t pixelBytes = PixelBytes(image, bits);

  ByteWriter out;
  out.Text("BM");
  out.U32LE(pixelOffset + pixelBytes);
  out.U32LE(0);  // reserved
  out.U32LE(pixelOffset);
  WriteInfoHeader(out, image, bits, image.height, pixelBytes);
  WriteColourTable(out, image);
  WritePixelRows(out, image, bits);
  return out.Take();
}

}  // namespace art
