#include "platform/gdi32/resampler.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi32/gdi32.h"

namespace win32::gdi {
namespace {

struct Tap {
  std::int64_t source;
  double weight;
};

Combine CombineFor(int stretchMode, bool shrinking) {
  if (stretchMode == HALFTONE) return Combine::Weighted;
  if (!shrinking) return Combine::Pick;  // enlarging replicates pixels
  if (stretchMode == BLACKONWHITE) return Combine::And;
  if (stretchMode == WHITEONBLACK) return Combine::Or;
  return Combine::Pick;
}

// Weighted sums two channels to a 32-bit word: red and blue in 16-bit lanes of one, green
// in another. A lane's sum is at most 255 * kWeightOne < 2^16, so nothing carries over.
static_assert(255 * kWeightOne < (1 << 16));

struct Sums {
  std::uint32_t redBlue = 0;
  std::uint32_t green = 0;

  void Add(Pixel p, std::uint32_t weight) {
    redBlue += weight * (p & 0x00FF00FFu);
    green += weight * (p & 0x0000FF00u);
  }
  Pixel Result() const {
    constexpr std::uint32_t half = kWeightOne / 2;
    return kOpaque | (((redBlue + (half | half << 16)) >> 8) & 0x00FF00FFu) | (((green + (half << 8)) >> 8) & 0xFF00u);
  }
};

}  // namespace

AxisMap MapAxis(std::int64_t destOrigin, std::int64_t destExtent, std::int64_t srcOrigin, std::int64_t srcExtent,
                int destLimit, int srcLimit, int stretchMode) {
  AxisMap map;
  const bool flipDest = destExtent < 0;
  const bool flipSource = srcExtent < 0;
  if (flipDest) {
    destOrigin += destExtent;
    destExtent = -destExtent;
  }
  if (flipSource) {
    srcOrigin += srcExtent;
    srcExtent = -srcExtent;
  }
  const std::int64_t low = std::max<std::int64_t>(srcOrigin, 0);
  const std::int64_t high = std::min<std::int64_t>(srcOrigin + srcExtent, srcLimit) - 1;
  if (destExtent == 0 || srcExtent == 0 || low > high) return map;

  const bool mirror = flipDest != flipSource;
  const bool shrinking = srcExtent > destExtent;
  map.combine = CombineFor(stretchMode, shrinking);
  const double scale = double(srcExtent) / double(destExtent);
  auto clamp = [&](std::int64_t j) { return std::clamp(j, low, high); };

  std::vector<Tap> taps;
  map.offsets.push_back(0);
  map.sourceMin = static_cast<int>(high);
  map.sourceMax = static_cast<int>(low);
  const std::int64_t begin = std::max<std::int64_t>(0, -destOrigin);
  const std::int64_t end = std::min<std::int64_t>(destExtent, destLimit - destOrigin);
  bool started = false;
  for (std::int64_t i = begin; i < end; ++i) {
    // The span of the source that destination position i covers, relative to the origin.
    double a = double(i) * scale;
    double b = double(i + 1) * scale;
    if (mirror) {
      double t = double(srcExtent) - b;
      b = double(srcExtent) - a;
      a = t;
    }
    const double from = double(srcOrigin) + a;
    const double to = double(srcOrigin) + b;
    const double centre = (from + to) / 2;
    if (centre < 0 || centre >= srcLimit) {
      if (started) break;  // the drawn positions are contiguous
      continue;
    }
    if (!started) map.first = static_cast<int>(destOrigin + i);
    started = true;

    taps.clear();
    switch (map.combine) {
      case Combine::Pick:
        taps.push_back({clamp(std::int64_t(std::floor(centre))), 1});
        break;
      case Combine::And:
      case Combine::Or:
        // A hair of tolerance keeps exact ratios from touching a neighbour through rounding.
        for (auto j = clamp(std::int64_t(std::floor(from + 1e-9))); j <= clamp(std::int64_t(std::ceil(to - 1e-9)) - 1);
             ++j)
          taps.push_back({j, 1});
        break;
      case Combine::Weighted:
        if (shrinking) {
          // Area average: each source pixel weighs what it overlaps.
          for (auto j = std::int64_t(std::floor(from)); j < std::int64_t(std::ceil(to)); ++j)
            taps.push_back({clamp(j), std::min(to, double(j + 1)) - std::max(from, double(j))});
        } else {
          // Linear interpolation between the two nearest pixel centres.
          double v = centre - 0.5;
          double j0 = std::floor(v);
          double f = v - j0;
          taps.push_back({clamp(std::int64_t(j0)), 1 - f});
          taps.push_back({clamp(std::int64_t(j0) + 1), f});
        }
        break;
    }

    // Merge repeated sources (from clamping) and turn weights into fixed point.
    std::sort(taps.begin(), taps.end(), [](const Tap& x, const Tap& y) { return x.source < y.source; });
    double total = 0;
    for (const Tap& t : taps) total += t.weight;
    const std::size_t firstTap = map.sources.size();
    int sum = 0;
    for (std::size_t k = 0; k < taps.size(); ++k) {
      int w = static_cast<int>(std::lround(taps[k].weight / total * kWeightOne));
      if (map.sources.size() > firstTap && map.sources.back() == taps[k].source) {
        map.weights.back() += w;
      } else {
        map.sources.push_back(static_cast<int>(taps[k].source));
        map.weights.push_back(w);
      }
      sum += w;
    }
    // Rounding leftovers go to the heaviest tap, so weights sum to exactly one.
    auto heaviest = std::max_element(map.weights.begin() + firstTap, map.weights.end());
    *heaviest += kWeightOne - sum;
    // Drop taps that carry no weight (but never the last one).
    for (std::size_t k = map.sources.size(); k-- > firstTap;) {
      if (map.weights[k] == 0 && map.sources.size() - firstTap > 1 && map.combine == Combine::Weighted) {
        map.sources.erase(map.sources.begin() + k);
        map.weights.erase(map.weights.begin() + k);
      }
    }
    for (std::size_t k = firstTap; k < map.sources.size(); ++k) {
      map.sourceMin = std::min(map.sourceMin, map.sources[k]);
      map.sourceMax = std::max(map.sourceMax, map.sources[k]);
    }
    map.maxTaps = std::max(map.maxTaps, static_cast<int>(map.sources.size() - firstTap));
    map.offsets.push_back(static_cast<int>(map.sources.size()));
  }
  if (!started) map = AxisMap{};
  return map;
}

void ResampleRow(const AxisMap& map, const Pixel* in, int inBase, Pixel* out) {
  const int count = map.Count();
  const int* offsets = map.offsets.data();
  const int* sources = map.sources.data();
  const int* weights = map.weights.data();
  // One loop per way of combining, so the choice is made once per row.
  auto each = [&](auto combine) {
    for (int i = 0; i < count; ++i) out[i] = combine(offsets[i], offsets[i + 1]);
  };
  switch (map.combine) {
    case Combine::Pick:
      each([&](int begin, int) { return in[sources[begin] - inBase]; });
      break;
    case Combine::And:
      each([&](int begin, int end) {
        Pixel p = ~Pixel{0};
        for (int k = begin; k < end; ++k) p &= in[sources[k] - inBase];
        return p;
      });
      break;
    case Combine::Or:
      each([&](int begin, int end) {
        Pixel p = 0;
        for (int k = begin; k < end; ++k) p |= in[sources[k] - inBase];
        return p;
      });
      break;
    case Combine::Weighted:
      each([&](int begin, int end) {
        Sums sums;
        for (int k = begin; k < end; ++k) sums.Add(in[sources[k] - inBase], static_cast<std::uint32_t>(weights[k]));
        return sums.Result();
      });
      break;
  }
}

void RowAccumulator::Reset(Combine combine, int width) {
  combine_ = combine;
  width_ = width;
  if (combine == Combine::Weighted) {
    redBlue_.assign(width, 0);
    green_.assign(width, 0);
  } else {
    bits_.assign(width, combine == Combine::And ? ~Pixel{0} : 0);
  }
}

void RowAccumulator::Add(const Pixel* row, int weight) {
  switch (combine_) {
    case Combine::Pick:
      std::copy(row, row + width_, bits_.begin());
      break;
    case Combine::And:
      for (int x = 0; x < width_; ++x) bits_[x] &= row[x];
      break;
    case Combine::Or:
      for (int x = 0; x < width_; ++x) bits_[x] |= row[x];
      break;
    case Combine::Weighted: {
      const auto w = static_cast<std::uint32_t>(weight);
      for (int x = 0; x < width_; ++x) {
        redBlue_[x] += w * (row[x] & 0x00FF00FFu);
        green_[x] += w * (row[x] & 0x0000FF00u);
      }
      break;
    }
  }
}

void RowAccumulator::Finish(Pixel* out) const {
  if (combine_ == Combine::Weighted) {
    for (int x = 0; x < width_; ++x) out[x] = Sums{redBlue_[x], green_[x]}.Result();
  } else {
    std::copy(bits_.begin(), bits_.end(), out);
  }
}

}  // namespace win32::gdi
