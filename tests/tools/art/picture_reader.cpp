#include "tests/tools/art/picture_reader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace arttest {
namespace {

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

std::uint32_t Le(const Bytes& b, std::size_t at, int n) {
  Require(at + n <= b.size(), "truncated");
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

std::uint32_t Be32(const Bytes& b, std::size_t at) {
  const std::uint32_t le = Le(b, at, 4);
  return (le >> 24) | ((le >> 8) & 0xFF00) | ((le << 8) & 0xFF0000) | (le << 24);
}

std::size_t Stride(int width, int bits) { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; }

int BitsAt(const Bytes& b, std::size_t row, int x, int bits) {
  const std::size_t bit = static_cast<std::size_t>(x) * bits;
  return (static_cast<int>(Le(b, row + bit / 8, 1)) >> (8 - bits - static_cast<int>(bit % 8))) & ((1 << bits) - 1);
}

// A BITMAPINFOHEADER DIB; an icon's holds the image and, below it, the AND mask.
Picture ReadDib(const Bytes& b, std::size_t at, bool withMask) {
  Require(Le(b, at, 4) == 40 && Le(b, at + 16, 4) == 0, "not an uncompressed BITMAPINFOHEADER DIB");
  Picture p;
  p.width = static_cast<int>(Le(b, at + 4, 4));
  p.height = static_cast<int>(Le(b, at + 8, 4)) / (withMask ? 2 : 1);
  p.bits = static_cast<int>(Le(b, at + 14, 2));
  Require(p.bits == 4 || p.bits == 8, "not a palette image");
  const std::uint32_t used = Le(b, at + 32, 4);
  const std::size_t colours = used != 0 ? used : std::size_t{1} << p.bits;
  const std::size_t table = at + 40;
  const std::size_t image = table + 4 * colours;
  const std::size_t mask = image + Stride(p.width, p.bits) * p.height;
  for (int y = p.height - 1; y >= 0; --y) {  // rows are stored bottom-up: the top one is last
    for (int x = 0; x < p.width; ++x) {
      const std::size_t index = BitsAt(b, image + Stride(p.width, p.bits) * y, x, p.bits);
      Require(index < colours, "index beyond the colour table");
      const std::size_t e = table + 4 * index;
      p.pixels.push_back({static_cast<int>(Le(b, e + 2, 1)), static_cast<int>(Le(b, e + 1, 1)), static_cast<int>(Le(b, e, 1))});
      if (withMask) p.alpha.push_back(BitsAt(b, mask + Stride(p.width, 1) * y, x, 1) ? 0 : 255);
    }
  }
  return p;
}

std::uint32_t Crc32(const Bytes& b, std::size_t at, std::size_t n) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = at; i < at + n; ++i) {
    crc ^= b[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

Bytes InflateStored(const Bytes& z) {
  Require(z.size() >= 6 && (z[0] & 0x0F) == 8 && ((z[0] << 8) | z[1]) % 31 == 0, "bad zlib header");
  Bytes out;
  std::size_t at = 2;
  for (bool last = false; !last;) {
    Require(at < z.size() && ((z[at] >> 1) & 3) == 0, "not a stored deflate block");
    last = z[at] & 1;
    const std::uint32_t length = Le(z, at + 1, 2);
    Require((length ^ Le(z, at + 3, 2)) == 0xFFFF && at + 5 + length <= z.size(), "bad stored block length");
    out.insert(out.end(), z.begin() + static_cast<std::ptrdiff_t>(at + 5), z.begin() + static_cast<std::ptrdiff_t>(at + 5 + length));
    at += 5 + length;
  }
  std::uint32_t a = 1, s = 0;
  for (std::uint8_t byte : out) a = (a + byte) % 65521, s = (s + a) % 65521;
  Require(Be32(z, at) == ((s << 16) | a), "Adler-32 mismatch");
  return out;
}

}  // namespace

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  Require(static_cast<bool>(in), "cannot open the file");
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

Picture ReadBmp(const Bytes& file) {
  Require(Le(file, 0, 2) == 0x4D42 && Le(file, 2, 4) == file.size(), "not a BMP, or its size field is wrong");
  const Picture p = ReadDib(file, 14, false);
  Require(Le(file, 10, 4) == 14 + 40 + 4 * (std::size_t{1} << p.bits), "pixel offset");
  return p;
}

std::vector<IconImage> ReadIco(const Bytes& file) {
  Require(Le(file, 0, 2) == 0 && Le(file, 2, 2) == 1, "not an icon file");
  std::vector<IconImage> images;
  for (std::uint32_t i = 0; i < Le(file, 4, 2); ++i) {
    const std::size_t e = 6 + 16 * i;
    Require(Le(file, e + 12, 4) + Le(file, e + 8, 4) <= file.size(), "image beyond the file");
    images.push_back({static_cast<int>(Le(file, e, 1)), static_cast<int>(Le(file, e + 1, 1)),
                      static_cast<int>(Le(file, e + 2, 1)), static_cast<int>(Le(file, e + 6, 2)),
                      ReadDib(file, Le(file, e + 12, 4), true)});
  }
  return images;
}

Picture ReadPng(const Bytes& file) {
  Require(Le(file, 0, 4) == 0x474E5089 && Le(file, 4, 4) == 0x0A1A0A0D, "not a PNG");
  Picture p;
  Bytes zlib;
  std::size_t at = 8;
  for (std::string type; type != "IEND"; at += 12 + Be32(file, at)) {
    const std::uint32_t length = Be32(file, at);
    Require(at + 12 + length <= file.size(), "truncated chunk");
    type.assign(file.begin() + static_cast<std::ptrdiff_t>(at + 4), file.begin() + static_cast<std::ptrdiff_t>(at + 8));
    Require(Crc32(file, at + 4, 4 + length) == Be32(file, at + 8 + length), "chunk CRC mismatch");
    if (type == "IHDR") {
      p.width = static_cast<int>(Be32(file, at + 8));
      p.height = static_cast<int>(Be32(file, at + 12));
      Require(file[at + 16] == 8 && file[at + 17] == 6 && file[at + 20] == 0, "not 8-bit RGBA");
      p.bits = 32;
    } else if (type == "IDAT") {
      zlib.insert(zlib.end(), file.begin() + static_cast<std::ptrdiff_t>(at + 8), file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    }
  }
  const Bytes raw = InflateStored(zlib);
  const std::size_t row = 1 + 4 * static_cast<std::size_t>(p.width);
  Require(p.width > 0 && raw.size() == row * p.height, "image data size");
  for (std::size_t i = 0; i < raw.size(); i += 4) {
    if (i % row == 0) Require(raw[i++] == 0, "filtered scanline");  // only filter None is read here
    p.pixels.push_back({raw[i], raw[i + 1], raw[i + 2]});
    p.alpha.push_back(raw[i + 3]);
  }
  return p;
}

}  // namespace arttest
