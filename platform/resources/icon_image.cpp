// Icon groups and icon images. A group is a header (reserved 0, type 1, count) and one
// 14-byte entry per image: width, height (0 meaning 256), colour count, reserved, planes, bit
// count, size, and the RT_ICON id. An image is a DIB of the colour rows followed by a 1-bit
// AND mask in which a set bit marks a transparent pixel.
#include <algorithm>

#include "platform/resources/byte_reader.h"
#include "platform/resources/dib.h"

namespace win32::res {
namespace {

constexpr WORD kIconType = 1;
constexpr BYTE kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(Bytes data) {
  return data.size() >= sizeof kPngSignature &&
         std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin(),
                    [](BYTE a, std::byte b) { return a == std::to_integer<BYTE>(b); });
}

}  // namespace

std::optional<std::vector<IconDirEntry>> DecodeIconGroup(Bytes data) {
  ByteReader r(data);
  WORD reserved = r.U16();
  WORD type = r.U16();
  WORD count = r.U16();
  if (!r.ok() || reserved != 0 || type != kIconType || count == 0) return std::nullopt;
  std::vector<IconDirEntry> entries;
  for (WORD i = 0; i < count && r.ok(); ++i) {
    IconDirEntry e;
    e.width = r.U8();
    e.height = r.U8();
    if (e.width == 0) e.width = 256;
    if (e.height == 0) e.height = 256;
    r.U8();  // colour count
    r.U8();  // reserved
    r.U16();  // planes
    e.bitCount = r.U16();
    e.bytesInRes = r.U32();
    e.id = r.U16();
    if (r.ok()) entries.push_back(e);
  }
  if (!r.ok()) return std::nullopt;
  return entries;
}

std::optional<IconImage> DecodeIconImage(Bytes data) {
  if (IsPng(data)) return std::nullopt;
  std::optional<PackedDib> dib = ParsePackedDib(data, 2);
  if (!dib) return std::nullopt;

  const std::size_t maskStride = ((static_cast<std::size_t>(dib->width) + 31) / 32) * 4;
  const bool hasMask = dib->rest.size() >= maskStride * static_cast<std::size_t>(dib->height);
  // Only 32-bit images may do without the mask: their alpha says what is transparent.
  if (!hasMask && dib->bitCount != 32) return std::nullopt;

  IconImage image;
  image.width = dib->width;
  image.height = dib->height;
  image.pixels.resize(static_cast<std::size_t>(dib->width) * dib->height);
  bool anyAlpha = false;
  for (int y = 0; y < dib->height; ++y)
    for (int x = 0; x < dib->width; ++x) {
      std::uint32_t p = dib->Pixel(x, y);
      anyAlpha = anyAlpha || (p >> 24) != 0;
      image.pixels[static_cast<std::size_t>(y) * dib->width + x] = p;
    }
  if (dib->bitCount == 32 && anyAlpha) return image;

  // No alpha channel: the AND mask decides, bottom-up like the colour rows.
  for (int y = 0; y < dib->height; ++y)
    for (int x = 0; x < dib->width; ++x) {
      bool transparent = false;
      if (hasMask) {
        std::size_t at = static_cast<std::size_t>(dib->height - 1 - y) * maskStride + x / 8;
        transparent = (std::to_integer<unsigned>(dib->rest[at]) >> (7 - x % 8)) & 1;
      }
      std::uint32_t& p = image.pixels[static_cast<std::size_t>(y) * dib->width + x];
      p = (p & 0x00FFFFFF) | (transparent ? 0u : 0xFF000000u);
    }
  return image;
}

}  // namespace win32::res
