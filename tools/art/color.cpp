#include "tools/art/color.h"

#include <algorithm>

namespace art {
namespace {

std::uint8_t MixChannel(int a, int b, double t) {
  const double v = a + (b - a) * std::clamp(t, 0.0, 1.0);
  return static_cast<std::uint8_t>(std::clamp(static_cast<int>(v + 0.5), 0, 255));
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return {MixChannel(a.r, b.r, t), MixChannel(a.g, b.g, t), MixChannel(a.b, b.b, t)};
}

}  // namespace art
