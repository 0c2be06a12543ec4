#include "platform/gdi32/resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

RowScaler::RowScaler(const AxisMap& columns) : map_(columns), combine_(columns.combine) {
  constexpr int kStep = simd::kPixelsPerVector;
  const int count = columns.Count();
  paddedWidth_ = (count + kStep - 1) / kStep * kStep;
  // One tap of full weight is a plain pick.
  if (combine_ == Combine::Weighted && columns.maxTaps <= 1) combine_ = Combine::Pick;
  if (combine_ == Combine::And || combine_ == Combine::Or || count == 0) return;

  auto firstSource = [&](int column) { return columns.sources[columns.offsets[column]] - columns.sourceMin; };
  starts_.resize(paddedWidth_);
  if (combine_ == Combine::Pick) {
    contiguous_ = true;
    for (int i = 0; i < paddedWidth_; ++i) {
      starts_[i] = firstSource(std::min(i, count - 1));
      contiguous_ = contiguous_ && (i >= count || starts_[i] == starts_[0] + i);
    }
    return;
  }

  // Every column gets as many taps as the widest column spans. A narrower column starts
  // early enough to stay inside the referenced range and gives the taps it lacks no weight.
  for (int i = 0; i < count; ++i)
    taps_ = std::max(taps_, columns.sources[columns.offsets[i + 1] - 1] - columns.sources[columns.offsets[i]] + 1);
  const int lastStart = columns.sourceMax - columns.sourceMin + 1 - taps_;
  weights_.assign(std::size_t(paddedWidth_ / kStep) * taps_, simd::Lanes8{});
  for (int i = 0; i < paddedWidth_; ++i) {
    const int column = std::min(i, count - 1);
    starts_[i] = std::min(firstSource(column), lastStart);
    if (i >= count) continue;  // padding: no weight at all
    simd::Lanes8* group = &weights_[std::size_t(i / kStep) * taps_];
    const int lane = 2 * (i % kStep);
    for (int k = columns.offsets[i]; k < columns.offsets[i + 1]; ++k) {
      const int tap = columns.sources[k] - columns.sourceMin - starts_[i];
      group[tap][lane] = static_cast<std::uint16_t>(columns.weights[k]);
      group[tap][lane + 1] = static_cast<std::uint16_t>(columns.weights[k]);
    }
  }
}

void RowScaler::Scale(const Pixel* in, Pixel* out) const {
  switch (combine_) {
    case Combine::Pick:
      if (contiguous_) {
        std::copy_n(in + starts_[0], map_.Count(), out);
      } else {
        const int* starts = starts_.data();
        for (int i = 0; i < paddedWidth_; ++i) out[i] = in[starts[i]];
      }
      break;
    case Combine::Weighted:
      ScaleWeighted(in, out);
      break;
    case Combine::And:
    case Combine::Or:
      ScaleBitwise(in, out);
      break;
  }
}

void RowScaler::ScaleWeighted(const Pixel* in, Pixel* out) const {
  using simd::Lanes8;
  using simd::Pixels4;
  const int* starts = starts_.data();
  const Lanes8* weights = weights_.data();
  const int taps = taps_;
  for (int i = 0; i < paddedWidth_; i += simd::kPixelsPerVector, weights += taps) {
    const Pixel* p0 = in + starts[i];
    const Pixel* p1 = in + starts[i + 1];
    const Pixel* p2 = in + starts[i + 2];
    const Pixel* p3 = in + starts[i + 3];
    Lanes8 even = Lanes8{} + kWeightOne / 2;
    Lanes8 odd = even;
    for (int k = 0; k < taps; ++k) {
      const Pixels4 x = {p0[k], p1[k], p2[k], p3[k]};
      even += simd::EvenBytes(x) * weights[k];
      odd += simd::OddBytes(x) * weights[k];
    }
    simd::Store(out + i, simd::FromSums(even, odd));
  }
}

void RowScaler::ScaleBitwise(const Pixel* in, Pixel* out) const {
  const bool isAnd = combine_ == Combine::And;
  const int* offsets = map_.offsets.data();
  const int* sources = map_.sources.data();
  const int base = map_.sourceMin;
  for (int i = 0, n = map_.Count(); i < n; ++i) {
    Pixel p = isAnd ? ~Pixel{0} : 0;
    for (int k = offsets[i]; k < offsets[i + 1]; ++k) p = isAnd ? p & in[sources[k] - base] : p | in[sources[k] - base];
    out[i] = p;
  }
}

namespace {

// Writes the vector at pixel x of a row `width` pixels long: the last one only in part.
inline void StoreUpTo(Pixel* out, int x, int width, simd::Pixels4 v) {
  if (x + simd::kPixelsPerVector <= width)
    simd::Store(out + x, v);
  else
    std::memcpy(out + x, &v, sizeof(Pixel) * (width - x));
}

}  // namespace

RowCombiner::RowCombiner(Combine combine, int width)
    : combine_(combine), width_(width), vectors_((width + simd::kPixelsPerVector - 1) / simd::kPixelsPerVector) {}

void RowCombiner::Combine2(const Pixel* first, int firstWeight, const Pixel* second, int secondWeight,
                           Pixel* out) const {
  using simd::Lanes8;
  using simd::Pixels4;
  // The way of combining is chosen once, outside the loop over the row.
  auto each = [&](auto combine) {
    for (int x = 0; x < width_; x += simd::kPixelsPerVector)
      StoreUpTo(out, x, width_, combine(simd::Load<Pixels4>(first + x), simd::Load<Pixels4>(second + x)));
  };
  switch (combine_) {
    case Combine::Weighted: {
      const auto w0 = static_cast<std::uint16_t>(firstWeight);
      const auto w1 = static_cast<std::uint16_t>(secondWeight);
      each([w0, w1](Pixels4 p, Pixels4 q) {
        const Lanes8 half = Lanes8{} + kWeightOne / 2;
        return simd::FromSums(simd::EvenBytes(p) * w0 + simd::EvenBytes(q) * w1 + half,
                              simd::OddBytes(p) * w0 + simd::OddBytes(q) * w1 + half);
      });
      break;
    }
    case Combine::And:
      each([](Pixels4 p, Pixels4 q) { return (p & q) | kOpaque; });
      break;
    case Combine::Or:
      each([](Pixels4 p, Pixels4 q) { return p | q | kOpaque; });
      break;
    case Combine::Pick:
      each([](Pixels4, Pixels4 q) { return q | kOpaque; });
      break;
  }
}

void RowCombiner::Copy(const Pixel* row, Pixel* out) const {
  for (int x = 0; x < width_; x += simd::kPixelsPerVector)
    StoreUpTo(out, x, width_, simd::Load<simd::Pixels4>(row + x) | kOpaque);
}

void RowCombiner::Reset() {
  if (combine_ == Combine::Weighted) {
    even_.assign(vectors_, simd::Lanes8{} + kWeightOne / 2);
    odd_.assign(vectors_, simd::Lanes8{} + kWeightOne / 2);
  } else {
    bits_.assign(vectors_, simd::Pixels4{} + (combine_ == Combine::And ? ~Pixel{0} : 0));
  }
}

void RowCombiner::Add(const Pixel* row, int weight) {
  using simd::Pixels4;
  auto each = [&](auto add) {
    for (int v = 0; v < vectors_; ++v) add(v, simd::Load<Pixels4>(row + v * simd::kPixelsPerVector));
  };
  switch (combine_) {
    case Combine::Weighted: {
      const auto w = static_cast<std::uint16_t>(weight);
      each([&](int v, Pixels4 p) {
        even_[v] += simd::EvenBytes(p) * w;
        odd_[v] += simd::OddBytes(p) * w;
      });
      break;
    }
    case Combine::And:
      each([&](int v, Pixels4 p) { bits_[v] &= p; });
      break;
    case Combine::Or:
      each([&](int v, Pixels4 p) { bits_[v] |= p; });
      break;
    case Combine::Pick:
      each([&](int v, Pixels4 p) { bits_[v] = p; });
      break;
  }
}

void RowCombiner::Finish(Pixel* out) const {
  for (int v = 0; v < vectors_; ++v) {
    const simd::Pixels4 r =
        combine_ == Combine::Weighted ? simd::FromSums(even_[v], odd_[v]) : bits_[v] | kOpaque;
    StoreUpTo(out, v * simd::kPixelsPerVector, width_, r);
  }
}

}  // namespace win32::gdi
