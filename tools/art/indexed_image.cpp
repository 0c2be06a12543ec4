#include "tools/art/indexed_image.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace art {

IndexedImage ToIndexed(const Image& image, int bits, std::optional<Rgb> first) {
  const std::size_t capacity = std::size_t{1} << bits;
  IndexedImage out{image.width(), image.height(), {}, {}, {}};
  if (first) out.palette.push_back(*first);
  bool anyTransparent = false;

  auto indexOf = [&](Rgb colour) {
    auto found = std::find(out.palette.begin(), out.palette.end(), colour);
    if (found != out.palette.end()) return static_cast<std::uint8_t>(found - out.palette.begin());
    if (out.palette.size() == capacity)
      throw std::runtime_error("more than " + std::to_string(capacity) + " colours for " + std::to_string(bits) +
                               " bits per pixel");
    out.palette.push_back(colour);
    return static_cast<std::uint8_t>(out.palette.size() - 1);
  };

  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgba& p = image.at(x, y);
      if (p.a != 0 && p.a != 255) throw std::runtime_error("a palette image cannot hold partial coverage");
      const bool clear = p.a == 0;
      anyTransparent |= clear;
      out.transparent.push_back(clear);
      out.indices.push_back(clear ? 0 : indexOf(p.rgb));
    }
  }
  if (!anyTransparent) out.transparent.clear();
  if (out.palette.empty()) out.palette.push_back(kBlack);
  out.palette.resize(capacity, kBlack);
  return out;
}

}  // namespace art
