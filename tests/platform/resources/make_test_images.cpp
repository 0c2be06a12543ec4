// Writes the icon and the bitmaps of the test resources into the directory given as argument.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "test_images.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

std::size_t Stride(int width, int bits) { return ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4; }

// A packed DIB: header, colour table, colour rows, and for icons the AND mask.
Bytes Dib(int width, int height, int bits, bool topDown, bool icon) {
  const int colors = bits <= 8 ? 1 << bits : 0;
  Bytes b;
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(width));
  int headerHeight = icon ? 2 * height : height;
  Put32(b, static_cast<std::uint32_t>(topDown ? -headerHeight : headerHeight));
  Put16(b, 1);
  Put16(b, static_cast<unsigned>(bits));
  for (int i = 0; i < 6; ++i) Put32(b, 0);  // BI_RGB, image size, resolution, colours used and important
  for (int i = 0; i < colors; ++i) {
    std::uint32_t c = test_images::PaletteColor(i, colors);
    b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
    b.push_back(static_cast<std::uint8_t>(c >> 16));
    b.push_back(0);
  }
  for (int row = 0; row < height; ++row) {
    int y = topDown ? row : height - 1 - row;
    Bytes line(Stride(width, bits), 0);
    for (int x = 0; x < width; ++x) {
      if (bits <= 8) {
        int index = test_images::PaletteIndex(x, y, colors);
        int bit = x * bits;
        line[bit / 8] |= static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
        continue;
      }
      std::uint32_t c = test_images::DirectColor(x, y);
      std::uint8_t r = static_cast<std::uint8_t>(c >> 16), g = static_cast<std::uint8_t>(c >> 8),
                   bl = static_cast<std::uint8_t>(c);
      if (bits == 16) {
        unsigned v = ((r >> 3) << 10) | ((g >> 3) << 5) | (bl >> 3);
        line[2 * x] = static_cast<std::uint8_t>(v);
        line[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
      } else {
        std::size_t at = static_cast<std::size_t>(x) * (bits / 8);
        line[at] = bl;
        line[at + 1] = g;
        line[at + 2] = r;
        if (bits == 32) line[at + 3] = icon ? static_cast<std::uint8_t>(test_images::Alpha(x, y)) : 0;
      }
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  if (icon) {
    for (int row = 0; row < height; ++row) {
      int y = height - 1 - row;
      Bytes line(Stride(width, 1), 0);
      for (int x = 0; x < width; ++x)
        if (test_images::MaskTransparent(x, y)) line[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      b.insert(b.end(), line.begin(), line.end());
    }
  }
  return b;
}

bool Write(const std::string& path, const Bytes& data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

Bytes IconFile() {
  std::vector<Bytes> images;
  std::vector<int> sizes;
  std::vector<int> depths;
  for (const auto& shape : test_images::kIconImages) {
    images.push_back(Dib(shape.size, shape.size, shape.bitCount, false, true));
    sizes.push_back(shape.size);
    depths.push_back(shape.bitCount);
  }
  // A PNG image: only its signature matters, since the platform skips such images.
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  images.push_back(png);
  sizes.push_back(test_images::kPngImageSize);
  depths.push_back(32);

  Bytes file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, static_cast<unsigned>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    file.push_back(static_cast<std::uint8_t>(sizes[i] % 256));
    file.push_back(static_cast<std::uint8_t>(sizes[i] % 256));
    file.push_back(depths[i] <= 8 ? static_cast<std::uint8_t>((1 << depths[i]) % 256) : 0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, static_cast<unsigned>(depths[i]));
    Put32(file, static_cast<std::uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const Bytes& image : images) file.insert(file.end(), image.begin(), image.end());
  return file;
}

Bytes BitmapFile(const test_images::BitmapShape& shape) {
  Bytes dib = Dib(shape.width, shape.height, shape.bitCount, shape.topDown, false);
  const int colors = shape.bitCount <= 8 ? 1 << shape.bitCount : 0;
  Bytes file = {'B', 'M'};
  Put32(file, static_cast<std::uint32_t>(14 + dib.size()));
  Put32(file, 0);
  Put32(file, static_cast<std::uint32_t>(14 + 40 + 4 * colors));
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_test_images <output directory>\n");
    return 2;
  }
  std::string dir = argv[1];
  bool ok = Write(dir + "/test.ico", IconFile());
  for (const auto& shape : test_images::kBitmaps)
    ok = Write(dir + "/bitmap" + std::to_string(shape.id) + ".bmp", BitmapFile(shape)) && ok;
  if (!ok) std::fprintf(stderr, "make_test_images: cannot write to %s\n", dir.c_str());
  return ok ? 0 : 1;
}
