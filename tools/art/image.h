// An RGBA picture in memory, the canvas every generator draws on. Alpha is coverage: the
// sprites and icons use only 0 and 255; the desktop icon is drawn large and averaged down,
// which gives its edges partial coverage.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/art/color.h"

namespace art {

struct Rgba {
  Rgb rgb;
  std::uint8_t a = 0;
  friend constexpr bool operator==(const Rgba&, const Rgba&) = default;
};

inline constexpr Rgba Opaque(Rgb c) { return {c, 255}; }

class Image {
 public:
  Image(int width, int height, Rgba fill = {});

  int width() const { return width_; }
  int height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Rgba& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const Rgba& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

  // Lays src over this image with its top-left corner at (x, y), blending by src's alpha.
  void Draw(const Image& src, int x, int y);

  // Box-filters the image down by an integer factor, weighting colours by coverage.
  Image Reduce(int factor) const;

 private:
  int width_;
  int height_;
  std::vector<Rgba> pixels_;
};

}  // namespace art
