#include "platform/gdi32/resampler.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

namespace {

// Whether a column map is an exact enlargement by two, as the kernels' doubleRow makes it:
// every column three quarters of a centre pixel and a quarter of one neighbour (both the
// centre where the neighbour falls outside the referenced sources), the centre moving on
// every second column, left neighbours first. Compared tap by tap, weight by weight, so the
// doubling gives exactly the pixels of the general loops. Gives the first column's centre
// (from sourceMin) and phase.
bool IsDoubling(const AxisMap& m, int& centre, int& phase) {
  const int count = m.Count();
  if (m.combine != Combine::Weighted || count == 0) return false;
  const int inCount = m.sourceMax - m.sourceMin + 1;
  // The first column's centre is its heaviest tap.
  const int* w = m.weights.data() + m.offsets[0];
  const int taps = m.offsets[1] - m.offsets[0];
  const int heaviest = static_cast<int>(std::max_element(w, w + taps) - w);
  centre = m.sources[m.offsets[0] + heaviest] - m.sourceMin;
  for (phase = 0; phase < 2; ++phase) {
    bool same = true;
    for (int j = 0; j < count && same; ++j) {
      const int t = j + phase;
      const int c = centre + t / 2;
      const int neighbour = std::clamp(t % 2 ? c + 1 : c - 1, 0, inCount - 1);
      const int begin = m.offsets[j];
      const int n = m.offsets[j + 1] - begin;
      const int* sources = m.sources.data() + begin;
      const int* weights = m.weights.data() + begin;
      if (neighbour == c) {
        same = n == 1 && sources[0] - m.sourceMin == c && weights[0] == kWeightOne;
      } else {
        const int left = std::min(c, neighbour);
        same = n == 2 && sources[0] - m.sourceMin == left && sources[1] == sources[0] + 1 &&
               weights[left == c ? 0 : 1] == 3 * kWeightOne / 4 && weights[left == c ? 1 : 0] == kWeightOne / 4;
      }
    }
    if (same) return true;
  }
  return false;
}

}  // namespace

RowScaler::RowScaler(const AxisMap& columns, const PixelKernels& kernels) : map_(columns), kernels_(kernels) {
  const int step = kernels.pixelsPerVector;
  const int count = columns.Count();
  paddedWidth_ = (count + step - 1) / step * step;
  if (count == 0) return;
  switch (columns.combine) {
    case Combine::And:
    case Combine::Or:
      method_ = Method::Bitwise;
      return;
    case Combine::Weighted:
      // One tap of full weight is a plain pick.
      method_ = columns.maxTaps <= 1                  ? Method::Pick
                : IsDoubling(columns, centre_, phase_) ? Method::Doubling
                                                       : Method::Taps;
      break;
    case Combine::Pick:
      method_ = Method::Pick;
      break;
  }
  if (method_ == Method::Doubling) return;

  auto firstSource = [&](int column) { return columns.sources[columns.offsets[column]] - columns.sourceMin; };
  starts_.resize(paddedWidth_);
  if (method_ == Method::Pick) {
    bool contiguous = true;
    for (int i = 0; i < paddedWidth_; ++i) {
      starts_[i] = firstSource(std::min(i, count - 1));
      contiguous = contiguous && (i >= count || starts_[i] == starts_[0] + i);
    }
    if (contiguous) method_ = Method::Copy;  // column i is source i
    return;
  }

  // Every column gets as many taps as the widest column spans. A narrower column starts
  // early enough to stay inside the referenced range and gives the taps it lacks no weight.
  for (int i = 0; i < count; ++i)
    taps_ = std::max(taps_, columns.sources[columns.offsets[i + 1] - 1] - columns.sources[columns.offsets[i]] + 1);
  if (taps_ == 2) method_ = Method::Pairs;
  const int lastStart = columns.sourceMax - columns.sourceMin + 1 - taps_;
  static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= 16, "the kernels read weights in aligned 16-byte blocks");
  weights_.assign(std::size_t(paddedWidth_) * taps_ * 2, 0);
  for (int i = 0; i < paddedWidth_; ++i) {
    const int column = std::min(i, count - 1);
    starts_[i] = std::min(firstSource(column), lastStart);
    if (i >= count) continue;  // padding: no weight at all
    const int group = i / step * step;
    for (int k = columns.offsets[i]; k < columns.offsets[i + 1]; ++k) {
      const int tap = columns.sources[k] - columns.sourceMin - starts_[i];
      // Taps: by tap, then column; Pairs: by column (in the order the loads put them), then tap.
      const std::size_t at = method_ == Method::Pairs
                                 ? std::size_t(group + PairSlot(i % step, step)) * 4 + 2 * tap
                                 : (std::size_t(group) * taps_ + std::size_t(tap) * step + i % step) * 2;
      weights_[at] = weights_[at + 1] = static_cast<std::uint16_t>(columns.weights[k]);
    }
  }
}

void RowScaler::Scale(const Pixel* in, Pixel* out) const {
  switch (method_) {
    case Method::Copy:
      std::copy_n(in + starts_[0], map_.Count(), out);
      break;
    case Method::Pick: {
      const int* starts = starts_.data();
      for (int i = 0; i < paddedWidth_; ++i) out[i] = in[starts[i]];
      break;
    }
    case Method::Taps:
      kernels_.scaleTaps(in, starts_.data(), weights_.data(), taps_, paddedWidth_, out);
      break;
    case Method::Pairs:
      kernels_.scalePairs(in, starts_.data(), weights_.data(), paddedWidth_, out);
      break;
    case Method::Doubling:
      kernels_.doubleRow(in, map_.sourceMax - map_.sourceMin + 1, centre_, phase_, map_.Count(), out);
      break;
    case Method::Bitwise:
      ScaleBitwise(in, out);
      break;
  }
}

void RowScaler::ScaleBitwise(const Pixel* in, Pixel* out) const {
  const bool isAnd = map_.combine == Combine::And;
  const int* offsets = map_.offsets.data();
  const int* sources = map_.sources.data();
  const int base = map_.sourceMin;
  for (int i = 0, n = map_.Count(); i < n; ++i) {
    Pixel p = isAnd ? ~Pixel{0} : 0;
    for (int k = offsets[i]; k < offsets[i + 1]; ++k) p = isAnd ? p & in[sources[k] - base] : p | in[sources[k] - base];
    out[i] = p;
  }
}

RowCombiner::RowCombiner(const PixelKernels& kernels, Combine combine, int width)
    : kernels_(kernels),
      combine_(combine),
      width_(width),
      padded_((width + kernels.pixelsPerVector - 1) / kernels.pixelsPerVector * kernels.pixelsPerVector) {
  if (combine == Combine::Weighted)
    sums_.resize(std::size_t(padded_) * 4);
  else
    bits_.resize(padded_);
}

void RowCombiner::Combine2(const Pixel* first, int firstWeight, const Pixel* second, int secondWeight,
                           Pixel* out) const {
  switch (combine_) {
    case Combine::Weighted:
      kernels_.blend2(first, firstWeight, second, secondWeight, width_, out);
      break;
    case Combine::And:
      kernels_.and2(first, second, width_, out);
      break;
    case Combine::Or:
      kernels_.or2(first, second, width_, out);
      break;
    case Combine::Pick:
      kernels_.copy(second, width_, out);
      break;
  }
}

void RowCombiner::Blend2Twice(const Pixel* first, const Pixel* second, const int* weights, Pixel* out,
                              Pixel* nextOut) const {
  constexpr int kQuarter = kWeightOne / 4;
  if (weights[0] == 3 * kQuarter && weights[1] == kQuarter && weights[2] == kQuarter && weights[3] == 3 * kQuarter)
    kernels_.blendQuarters(first, second, width_, out, nextOut);
  else
    kernels_.blend2Twice(first, second, weights, width_, out, nextOut);
}

void RowCombiner::Copy(const Pixel* row, Pixel* out) const { kernels_.copy(row, width_, out); }

void RowCombiner::Reset() { first_ = true; }

void RowCombiner::Add(const Pixel* row, int weight) {
  const bool first = std::exchange(first_, false);
  if (combine_ == Combine::Weighted)
    kernels_.addWeighted(row, weight, sums_.data(), padded_, first);
  else if (first || combine_ == Combine::Pick)
    std::copy_n(row, padded_, bits_.begin());
  else if (combine_ == Combine::And)
    kernels_.andInto(row, bits_.data(), padded_);
  else
    kernels_.orInto(row, bits_.data(), padded_);
}

void RowCombiner::Finish(Pixel* out) const {
  if (combine_ == Combine::Weighted)
    kernels_.finishWeighted(sums_.data(), width_, out);
  else
    kernels_.copy(bits_.data(), width_, out);
}

}  // namespace win32::gdi
