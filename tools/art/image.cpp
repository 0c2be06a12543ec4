#include "tools/art/image.h"

namespace art {
namespace {

std::uint8_t RoundedChannel(double v) { return static_cast<std::uint8_t>(v + 0.5); }

}  // namespace

Image::Image(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

void Image::Draw(const Image& src, int x, int y) {
  for (int sy = 0; sy < src.height(); ++sy) {
    for (int sx = 0; sx < src.width(); ++sx) {
      const Rgba& top = src.at(sx, sy);
      if (top.a == 0 || !Contains(x + sx, y + sy)) continue;
      Rgba& under = at(x + sx, y + sy);
      if (top.a == 255) {
        under = top;
        continue;
      }
      // Porter-Duff "over" with straight (non-premultiplied) colours.
      const double ta = top.a / 255.0;
      const double ua = under.a / 255.0 * (1.0 - ta);
      const double oa = ta + ua;
      auto channel = [&](std::uint8_t t, std::uint8_t u) { return RoundedChannel((t * ta + u * ua) / oa); };
      under = {{channel(top.rgb.r, under.rgb.r), channel(top.rgb.g, under.rgb.g), channel(top.rgb.b, under.rgb.b)},
               RoundedChannel(oa * 255.0)};
    }
  }
}

Image Image::Reduce(int factor) const {
  Image out(width_ / factor, height_ / factor);
  const double samples = static_cast<double>(factor) * factor;
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < factor; ++sy) {
        for (int sx = 0; sx < factor; ++sx) {
          const Rgba& p = at(x * factor + sx, y * factor + sy);
          r += p.rgb.r * p.a;
          g += p.rgb.g * p.a;
          b += p.rgb.b * p.a;
          a += p.a;
        }
      }
      if (a == 0) continue;
      out.at(x, y) = {{RoundedChannel(r / a), RoundedChannel(g / a), RoundedChannel(b / a)}, RoundedChannel(a / samples)};
    }
  }
  return out;
}

}  // namespace art
