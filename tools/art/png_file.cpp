#include "tools/art/png_file.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace art {
namespace {

// CRC-32 as PNG and zlib define it: reflected, polynomial 0xEDB88320.
const std::array<std::uint32_t, 256>& CrcTable() {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < size; ++i) crc = CrcTable()[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t Adler32(const Bytes& data) {
  constexpr std::uint32_t kModulus = 65521;
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

void Chunk(ByteWriter& out, std::string_view type, const Bytes& data) {
  ByteWriter typed;
  typed.Text(type);
  typed.Append(data);
  out.U32BE(static_cast<std::uint32_t>(data.size()));
  out.Append(typed.bytes());
  out.U32BE(Crc32(typed.bytes().data(), typed.size()));
}

// A zlib stream of stored blocks (at most 65535 bytes each) and its Adler-32.
Bytes StoredZlib(const Bytes& data) {
  constexpr std::size_t kMaxBlock = 65535;
  ByteWriter out;
  out.U8(0x78);  // deflate, 32 KiB window
  out.U8(0x01);  // no dictionary, fastest; 0x7801 is a multiple of 31 as the header check needs
  std::size_t at = 0;
  do {
    const std::size_t length = std::min(kMaxBlock, data.size() - at);
    const bool last = at + length == data.size();
    out.U8(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
    out.U16LE(static_cast<std::uint32_t>(length));
    out.U16LE(static_cast<std::uint32_t>(~length & 0xFFFF));
    out.Append(Bytes(data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + length)));
    at += length;
  } while (at < data.size());
  out.U32BE(Adler32(data));
  return out.Take();
}

}  // namespace

Bytes EncodePng(const Image& image) {
  ByteWriter header;
  header.U32BE(static_cast<std::uint32_t>(image.width()));
  header.U32BE(static_cast<std::uint32_t>(image.height()));
  header.U8(8);  // bits per channel
  header.U8(6);  // colour type: RGBA
  header.U8(0);  // compression: deflate
  header.U8(0);  // filtering: adaptive
  header.U8(0);  // no interlace

  Bytes scanlines;
  for (int y = 0; y < image.height(); ++y) {
    scanlines.push_back(0);  // filter type None
    for (int x = 0; x < image.width(); ++x) {
      const Rgba& p = image.at(x, y);
      // Fully transparent pixels are stored as transparent black.
      const Rgb c = p.a == 0 ? kBlack : p.rgb;
      scanlines.insert(scanlines.end(), {c.r, c.g, c.b, p.a});
    }
  }

  ByteWriter out;
  out.Append({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
  Chunk(out, "IHDR", header.bytes());
  Chunk(out, "IDAT", StoredZlib(scanlines));
  Chunk(out, "IEND", {});
  return out.Take();
}

}  // namespace art
