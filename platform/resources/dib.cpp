#include "platform/resources/dib.h"

#include <cstring>

#include "platform/resources/byte_reader.h"

namespace win32::res {
namespace {

constexpr DWORD kInfoHeaderSize = 40;
// Far beyond any resource, and small enough that sizes computed from it cannot overflow.
constexpr LONG kMaxDimension = 0x8000;

bool SupportedDepth(WORD bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

unsigned Byte(Bytes b, std::size_t i) { return std::to_integer<unsigned>(b[i]); }

}  // namespace

std::optional<PackedDib> ParsePackedDib(Bytes data, int rowsPerImage) {
  ByteReader r(data);
  DWORD headerSize = r.U32();
  LONG width = r.I32();
  LONG height = r.I32();
  WORD planes = r.U16();
  WORD bitCount = r.U16();
  DWORD compression = r.U32();
  r.U32();  // image size: may be 0 for BI_RGB, and the rows' size is computed anyway
  r.U32();  // resolution
  r.U32();
  DWORD colorsUsed = r.U32();
  if (!r.ok() || headerSize < kInfoHeaderSize || headerSize > data.size()) return std::nullopt;
  if (planes != 1 || !SupportedDepth(bitCount) || compression != BI_RGB) return std::nullopt;
  if (width <= 0 || width > kMaxDimension || height == 0 || height < -kMaxDimension || height > kMaxDimension)
    return std::nullopt;

  PackedDib dib;
  dib.width = width;
  dib.topDown = height < 0;
  if (dib.topDown && rowsPerImage != 1) return std::nullopt;
  dib.height = (height < 0 ? -height : height) / rowsPerImage;
  if (dib.height == 0) return std::nullopt;
  dib.bitCount = bitCount;

  // Depths up to 8 have a table of colorsUsed entries (all 2^bits when 0); deeper images may
  // carry an optional table, which does not take part in their colours.
  std::size_t tableSize = colorsUsed;
  if (bitCount <= 8) {
    std::size_t full = std::size_t{1} << bitCount;
    if (tableSize == 0) tableSize = full;
    if (tableSize > full) return std::nullopt;
  }
  ByteReader table(data, headerSize);
  Bytes colors = table.Span(tableSize * 4);
  if (!table.ok()) return std::nullopt;
  if (bitCount <= 8) {
    dib.palette.resize(tableSize);
    for (std::size_t i = 0; i < tableSize; ++i)
      dib.palette[i] = RGBQUAD{static_cast<BYTE>(Byte(colors, 4 * i)), static_cast<BYTE>(Byte(colors, 4 * i + 1)),
                               static_cast<BYTE>(Byte(colors, 4 * i + 2)), 0};
  }

  dib.stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
  dib.bits = table.Span(dib.stride * static_cast<std::size_t>(dib.height));
  if (!table.ok()) return std::nullopt;
  dib.rest = data.subspan(table.position());
  return dib;
}

std::uint32_t PackedDib::Pixel(int x, int y) const {
  std::size_t row = static_cast<std::size_t>(topDown ? y : height - 1 - y) * stride;
  auto at = [&](std::size_t i) { return Byte(bits, row + i); };
  switch (bitCount) {
    case 1:
    case 4:
    case 8: {
      std::size_t bit = static_cast<std::size_t>(x) * bitCount;
      unsigned index = (at(bit / 8) >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
      // An index past the table is drawn black.
      if (index >= palette.size()) return 0;
      const RGBQUAD& c = palette[index];
      return (std::uint32_t{c.rgbRed} << 16) | (std::uint32_t{c.rgbGreen} << 8) | c.rgbBlue;
    }
    case 16: {
      // Five bits each of red, green and blue; each is widened by repeating its top bits.
      unsigned v = at(2 * x) | (at(2 * x + 1) << 8);
      auto widen = [](unsigned c) { return (c << 3) | (c >> 2); };
      return (widen((v >> 10) & 31) << 16) | (widen((v >> 5) & 31) << 8) | widen(v & 31);
    }
    case 24:
      return (at(3 * x + 2) << 16) | (at(3 * x + 1) << 8) | at(3 * x);
    default:
      return (std::uint32_t{at(4 * x + 3)} << 24) | (at(4 * x + 2) << 16) | (at(4 * x + 1) << 8) | at(4 * x);
  }
}

std::vector<DWORD> PackedDib::BitmapInfo() const {
  std::vector<DWORD> storage((kInfoHeaderSize + palette.size() * sizeof(RGBQUAD)) / sizeof(DWORD));
  BITMAPINFOHEADER header{};
  header.biSize = kInfoHeaderSize;
  header.biWidth = width;
  header.biHeight = topDown ? -height : height;
  header.biPlanes = 1;
  header.biBitCount = bitCount;
  header.biCompression = BI_RGB;
  header.biClrUsed = static_cast<DWORD>(palette.size());
  std::memcpy(storage.data(), &header, sizeof header);
  if (!palette.empty())
    std::memcpy(reinterpret_cast<unsigned char*>(storage.data()) + kInfoHeaderSize, palette.data(),
                palette.size() * sizeof(RGBQUAD));
  return storage;
}

}  // namespace win32::res
