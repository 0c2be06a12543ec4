// A palette image: what the BMP and ICO writers store.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "tools/art/color.h"
#include "tools/art/image.h"

namespace art {

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;            // exactly 2^bits entries, unused ones black
  std::vector<std::uint8_t> indices;   // top-down, width * height
  std::vector<bool> transparent;       // top-down; empty when the image is opaque
};

// Gives every distinct colour an index, in the order the colours first occur (top-down, left
// to right), after the optional `first` colour, which gets index 0. Transparent pixels take
// index 0. Throws when the colours do not fit `bits` bits per pixel.
IndexedImage ToIndexed(const Image& image, int bits, std::optional<Rgb> first = std::nullopt);

}  // namespace art
