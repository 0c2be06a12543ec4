// Colours of the generated art: 8-bit RGB, and the few ways the generators mix them.
#pragma once

#include <compare>
#include <cstdint>

namespace art {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend constexpr auto operator<=>(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// t = 0 gives a, t = 1 gives b; rounded to the nearest level.
Rgb Mix(Rgb a, Rgb b, double t);

}  // namespace art
