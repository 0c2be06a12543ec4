// A small reader for the art files, independent of the generator: BMP and ICO with colour
// tables, and PNG whose zlib stream holds stored blocks. Throws std::runtime_error on
// anything it does not understand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace arttest {

using Bytes = std::vector<std::uint8_t>;

struct Colour {
  int r = 0, g = 0, b = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

struct Picture {
  int width = 0, height = 0, bits = 0;  // bits per pixel as stored
  std::vector<Colour> pixels;           // top-down
  std::vector<int> alpha;               // 0 where an icon's AND mask is set; PNG alpha

  const Colour& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool isClear(int x, int y) const { return !alpha.empty() && alpha[static_cast<std::size_t>(y) * width + x] == 0; }
};

struct IconImage {
  int entryWidth, entryHeight, colourCount, bitCount;  // as the icon directory gives them
  Picture picture;
};

Bytes ReadFile(const std::string& path);
Picture ReadBmp(const Bytes& file);
std::vector<IconImage> ReadIco(const Bytes& file);
// Checks the chunk CRCs, the zlib header and the Adler-32 on the way.
Picture ReadPng(const Bytes& file);

}  // namespace arttest
