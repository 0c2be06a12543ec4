#include "tools/art/ico_file.h"

#include "tools/art/dib.h"

namespace art {

Bytes EncodeIco(const std::vector<IndexedImage>& images) {
  constexpr int kBits = 8;
  constexpr std::uint32_t kDirectoryHeader = 6;
  constexpr std::uint32_t kDirectoryEntry = 16;

  std::vector<Bytes> bodies;
  for (const IndexedImage& image : images) {
    ByteWriter body;
    WriteInfoHeader(body, image, kBits, 2 * image.height, PixelBytes(image, kBits) + MaskBytes(image));
    WriteColourTable(body, image);
    WritePixelRows(body, image, kBits);
    WriteMaskRows(body, image);
    bodies.push_back(body.Take());
  }

  ByteWriter out;
  out.U16LE(0);  // reserved
  out.U16LE(1);  // an icon, not a cursor
  out.U16LE(static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = kDirectoryHeader + kDirectoryEntry * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    out.U8(images[i].width % 256);  // 0 stands for 256
    out.U8(images[i].height % 256);
    out.U8(0);  // colour count: 0 when there are 256 or more
    out.U8(0);  // reserved
    out.U16LE(1);  // planes
    out.U16LE(kBits);
    out.U32LE(static_cast<std::uint32_t>(bodies[i].size()));
    out.U32LE(offset);
    offset += static_cast<std::uint32_t>(bodies[i].size());
  }
  for (const Bytes& body : bodies) out.Append(body);
  return out.Take();
}

}  // namespace art
