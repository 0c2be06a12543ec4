// The pixel loops behind PixelKernels, written once for a vector width. Each kernel set's
// translation unit includes this header and instantiates the loops for its width; all of it
// has internal linkage (see simd.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "platform/gdi32/pixel_kernels.h"
#include "platform/gdi32/simd.h"

namespace win32::gdi {
namespace {

// Raster operations. A two-input function of source and destination, from a 4-bit truth
// table whose bit (S<<1 | D) is the result. The compiler folds the constant terms into a few
// word operations; the same code serves single pixels and vectors of them.
template <unsigned Table, typename T>
inline T RopOf(T s, T d) {
  T r{};
  if constexpr ((Table & 1u) != 0) r |= ~s & ~d;
  if constexpr ((Table & 2u) != 0) r |= ~s & d;
  if constexpr ((Table & 4u) != 0) r |= s & ~d;
  if constexpr ((Table & 8u) != 0) r |= s & d;
  return r;
}

// The index split on the pattern: the low nibble applies where a pattern bit is 0, the high
// nibble where it is 1. A solid brush gives one pattern value per blit, so each pixel costs
// the two small functions and a select.
template <unsigned Index, typename T>
inline T RopApply(T s, T d, Pixel pattern) {
  constexpr unsigned whereClear = Index & 0x0Fu;
  constexpr unsigned whereSet = Index >> 4;
  T clear = RopOf<whereClear>(s, d);
  if constexpr (whereClear == whereSet) {
    return clear | kOpaque;
  } else {
    T set = RopOf<whereSet>(s, d);
    return (clear ^ ((clear ^ set) & pattern)) | kOpaque;
  }
}

// One byte a channel: (light + 3 * heavy + 2) / 4, which is (64 * light + 192 * heavy + 128)
// / 256 exactly, as two averages: one rounded down, then one rounded up. Opaque.
inline Pixel QuarterPixel(Pixel light, Pixel heavy) {
  const Pixel down = (light & heavy) + (((light ^ heavy) >> 1) & 0x7F7F7F7Fu);
  return ((down | heavy) - (((down ^ heavy) >> 1) & 0x7F7F7F7Fu)) | kOpaque;
}

// round(x * a / 255) as Qt's raster engine rounds it, a channel to a 16-bit lane.
template <typename Lanes>
inline Lanes Scale255(Lanes x, Lanes a) {
  const Lanes t = x * a;
  return (t + (t >> 8) + 0x80) >> 8;
}

// The same for the channels of a pixel, two to a word.
inline Pixel ScalePixel255(Pixel x, std::uint32_t a) {
  std::uint32_t even = (x & 0x00FF00FFu) * a;
  even = ((even + ((even >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
  std::uint32_t odd = ((x >> 8) & 0x00FF00FFu) * a;
  odd = (odd + ((odd >> 8) & 0x00FF00FFu) + 0x00800080u) & 0xFF00FF00u;
  return even | odd;
}

template <int kBytes>
struct PixelLoops {
  using S = simd::Simd<kBytes>;
  using Pixels = typename S::Pixels;
  using Lanes = typename S::Lanes;
  using Bytes = typename S::Bytes;
  using Pairs = typename S::Pairs;
  static constexpr int kStep = S::kPixels;
  static_assert(kWidestVector % kStep == 0);

  template <typename Vector>
  static Vector Load(const void* from) {
    return S::template Load<Vector>(from);
  }
  static Lanes Half() { return Lanes{} + kWeightOne / 2; }
  // Weights lie in whole 16-byte blocks of memory (see PixelKernels), which an SSE2
  // multiplication can take straight from memory.
  static Lanes Weights(const std::uint16_t* at) { return Load<Lanes>(__builtin_assume_aligned(at, 16)); }

  // Writes a row of `width` pixels, made a vector at a time by make(x) for the pixels from x
  // on: whole vectors, then the first pixels of one more.
  template <typename Make>
  static void WriteRow(Pixel* out, int width, Make make) {
    int x = 0;
    for (; x + kStep <= width; x += kStep) S::Store(out + x, make(x));
    if (x < width) S::StorePart(out + x, make(x), width - x);
  }
  // The same for two rows made together: make(x, first, second).
  template <typename Make>
  static void WriteRows(Pixel* out, Pixel* nextOut, int width, Make make) {
    Pixels r0, r1;
    int x = 0;
    for (; x + kStep <= width; x += kStep) {
      make(x, r0, r1);
      S::Store(out + x, r0);
      S::Store(nextOut + x, r1);
    }
    if (x < width) {
      make(x, r0, r1);
      S::StorePart(out + x, r0, width - x);
      S::StorePart(nextOut + x, r1, width - x);
    }
  }

  static void ScaleTaps(const Pixel* in, const int* starts, const std::uint16_t* weights, int taps, int width,
                        Pixel* out) {
    for (int i = 0; i < width; i += kStep, weights += std::ptrdiff_t(taps) * 2 * kStep) {
      Lanes even = Half();
      Lanes odd = even;
      for (int k = 0; k < taps; ++k) {
        const Pixels x = S::template Make<Pixels>([&](int e) { return in[starts[i + e] + k]; });
        const Lanes w = Weights(weights + k * 2 * kStep);
        even += S::EvenBytes(x) * w;
        odd += S::OddBytes(x) * w;
      }
      S::Store(out + i, S::FromSums(even, odd));
    }
  }

  // Two taps are neighbouring pixels: one 64-bit load fetches both, and the products of the
  // two are added after multiplying.
  static void ScalePairs(const Pixel* in, const int* starts, const std::uint16_t* weights, int width, Pixel* out) {
    for (int i = 0; i < width; i += kStep, weights += 4 * kStep) {
      // Pair e of the first load is column e / 2 * 4 + e % 2; of the second, two columns on
      // (see PairSlot).
      auto pair = [&](int column) { return Load<std::uint64_t>(in + starts[i + column]); };
      const auto x0 = S::template Make<Pairs>([&](int e) { return pair(e / 2 * 4 + e % 2); });
      const auto x1 = S::template Make<Pairs>([&](int e) { return pair(e / 2 * 4 + e % 2 + 2); });
      const Lanes w0 = Weights(weights);
      const Lanes w1 = Weights(weights + 2 * kStep);
      const auto p0 = reinterpret_cast<Pixels>(x0);
      const auto p1 = reinterpret_cast<Pixels>(x1);
      const auto e0 = reinterpret_cast<Pixels>(S::EvenBytes(p0) * w0);
      const auto e1 = reinterpret_cast<Pixels>(S::EvenBytes(p1) * w1);
      const auto o0 = reinterpret_cast<Pixels>(S::OddBytes(p0) * w0);
      const auto o1 = reinterpret_cast<Pixels>(S::OddBytes(p1) * w1);
      // Each column's first taps, then its second ones, columns side by side.
      const Lanes even = reinterpret_cast<Lanes>(S::EvenElements(e0, e1)) +
                         reinterpret_cast<Lanes>(S::OddElements(e0, e1)) + Half();
      const Lanes odd = reinterpret_cast<Lanes>(S::EvenElements(o0, o1)) +
                        reinterpret_cast<Lanes>(S::OddElements(o0, o1)) + Half();
      S::Store(out + i, S::FromSums(even, odd));
    }
  }

  static void DoubleRow(const Pixel* in, int inCount, int centre, int phase, int count, Pixel* out) {
    auto one = [&](int j) {
      const int t = j + phase;
      const int c = centre + t / 2;
      const int neighbour = t % 2 ? c + 1 : c - 1;
      return QuarterPixel(in[neighbour < 0 ? 0 : neighbour >= inCount ? inCount - 1 : neighbour], in[c]);
    };
    auto centreOf = [&](int j) { return centre + (j + phase) / 2; };
    int j = 0;
    // One pixel at a time up to a centre's first pixel with its left neighbour in the row,
    for (; j < count && ((j + phase) % 2 != 0 || centreOf(j) < 1); ++j) out[j] = one(j);
    // then a vector of centres at a time while their right neighbours are in the row.
    for (; j + 2 * kStep <= count && centreOf(j) + kStep < inCount; j += 2 * kStep) {
      const Pixel* c = in + centreOf(j);
      const Bytes left = Load<Bytes>(c - 1);
      const Bytes middle = Load<Bytes>(c);
      const Bytes right = Load<Bytes>(c + 1);
      const auto withLeft = reinterpret_cast<Pixels>(S::ThreeQuarters(middle, S::AverageDown(left, middle))) | kOpaque;
      const auto withRight = reinterpret_cast<Pixels>(S::ThreeQuarters(middle, S::AverageDown(middle, right))) | kOpaque;
      S::Store(out + j, S::InterleaveLow(withLeft, withRight));
      S::Store(out + j + kStep, S::InterleaveHigh(withLeft, withRight));
    }
    for (; j < count; ++j) out[j] = one(j);
  }

  static void Blend2(const Pixel* a, int aWeight, const Pixel* b, int bWeight, int width, Pixel* out) {
    const auto w0 = static_cast<std::uint16_t>(aWeight);
    const auto w1 = static_cast<std::uint16_t>(bWeight);
    WriteRow(out, width, [&](int x) {
      const Pixels p = Load<Pixels>(a + x);
      const Pixels q = Load<Pixels>(b + x);
      return S::FromSums(S::EvenBytes(p) * w0 + S::EvenBytes(q) * w1 + Half(),
                         S::OddBytes(p) * w0 + S::OddBytes(q) * w1 + Half());
    });
  }

  static void Blend2Twice(const Pixel* a, const Pixel* b, const int* weights, int width, Pixel* out,
                          Pixel* nextOut) {
    const auto a0 = static_cast<std::uint16_t>(weights[0]);
    const auto a1 = static_cast<std::uint16_t>(weights[1]);
    const auto b0 = static_cast<std::uint16_t>(weights[2]);
    const auto b1 = static_cast<std::uint16_t>(weights[3]);
    WriteRows(out, nextOut, width, [&](int x, Pixels& r0, Pixels& r1) {
      const Pixels p = Load<Pixels>(a + x);
      const Pixels q = Load<Pixels>(b + x);
      const Lanes pe = S::EvenBytes(p), po = S::OddBytes(p);
      const Lanes qe = S::EvenBytes(q), qo = S::OddBytes(q);
      r0 = S::FromSums(pe * a0 + qe * a1 + Half(), po * a0 + qo * a1 + Half());
      r1 = S::FromSums(pe * b0 + qe * b1 + Half(), po * b0 + qo * b1 + Half());
    });
  }

  static void BlendQuarters(const Pixel* a, const Pixel* b, int width, Pixel* out, Pixel* nextOut) {
    WriteRows(out, nextOut, width, [&](int x, Pixels& r0, Pixels& r1) {
      const Bytes p = Load<Bytes>(a + x);
      const Bytes q = Load<Bytes>(b + x);
      const Bytes down = S::AverageDown(p, q);
      r0 = reinterpret_cast<Pixels>(S::ThreeQuarters(p, down)) | kOpaque;
      r1 = reinterpret_cast<Pixels>(S::ThreeQuarters(q, down)) | kOpaque;
    });
  }

  static void And2(const Pixel* a, const Pixel* b, int width, Pixel* out) {
    WriteRow(out, width, [&](int x) { return (Load<Pixels>(a + x) & Load<Pixels>(b + x)) | kOpaque; });
  }
  static void Or2(const Pixel* a, const Pixel* b, int width, Pixel* out) {
    WriteRow(out, width, [&](int x) { return Load<Pixels>(a + x) | Load<Pixels>(b + x) | kOpaque; });
  }
  static void Copy(const Pixel* row, int width, Pixel* out) {
    WriteRow(out, width, [&](int x) { return Load<Pixels>(row + x) | kOpaque; });
  }

  // Sums of a vector of pixels: the even channels' lanes, then the odd channels'.
  static void AddWeighted(const Pixel* row, int weight, std::uint16_t* sums, int width, bool first) {
    if (first)
      AddWeightedRow<true>(row, static_cast<std::uint16_t>(weight), sums, width);
    else
      AddWeightedRow<false>(row, static_cast<std::uint16_t>(weight), sums, width);
  }
  template <bool kFirst>
  static void AddWeightedRow(const Pixel* row, std::uint16_t weight, std::uint16_t* sums, int width) {
    for (int x = 0; x < width; x += kStep, sums += 4 * kStep) {
      const Pixels p = Load<Pixels>(row + x);
      const Lanes even = kFirst ? Half() : Load<Lanes>(sums);
      const Lanes odd = kFirst ? Half() : Load<Lanes>(sums + 2 * kStep);
      S::Store(sums, even + S::EvenBytes(p) * weight);
      S::Store(sums + 2 * kStep, odd + S::OddBytes(p) * weight);
    }
  }
  static void FinishWeighted(const std::uint16_t* sums, int width, Pixel* out) {
    WriteRow(out, width, [&](int x) {
      const std::uint16_t* at = sums + 4 * x;
      return S::FromSums(Load<Lanes>(at), Load<Lanes>(at + 2 * kStep));
    });
  }
  static void AndInto(const Pixel* row, Pixel* bits, int width) {
    for (int x = 0; x < width; x += kStep) S::Store(bits + x, Load<Pixels>(bits + x) & Load<Pixels>(row + x));
  }
  static void OrInto(const Pixel* row, Pixel* bits, int width) {
    for (int x = 0; x < width; x += kStep) S::Store(bits + x, Load<Pixels>(bits + x) | Load<Pixels>(row + x));
  }

  // pixel = colour * c + pixel * (1 - c), each term rounded to the nearest 1/255. Vectors of
  // no coverage at all are passed over.
  static void BlendCoverage(Pixel* out, const std::uint16_t* coverage, int count, Pixel color) {
    const Lanes inkEven = S::EvenBytes(Pixels{} + color);
    const Lanes inkOdd = S::OddBytes(Pixels{} + color);
    int x = 0;
    for (; x + kStep <= count; x += kStep) {
      const Lanes cover = Load<Lanes>(coverage + 2 * x);
      if (S::AllZero(cover)) continue;
      const Pixels d = Load<Pixels>(out + x);
      const Lanes keep = 255 - cover;
      const Lanes even = Scale255(inkEven, cover) + Scale255(S::EvenBytes(d), keep);
      const Lanes odd = Scale255(inkOdd, cover) + Scale255(S::OddBytes(d), keep);
      S::Store(out + x, reinterpret_cast<Pixels>(even) | (reinterpret_cast<Pixels>(odd) << 8));
    }
    for (; x < count; ++x) {
      const std::uint32_t c = coverage[2 * x];
      if (c != 0) out[x] = ScalePixel255(color, c) + ScalePixel255(out[x], 255 - c);
    }
  }

  template <unsigned Index>
  static void RopBlock(Pixel* dst, std::ptrdiff_t dstPitch, const Pixel* src, std::ptrdiff_t srcPitch,
                       Pixel pattern, int width, int height) {
    for (int y = 0; y < height; ++y) {
      int x = 0;
      for (; x + kStep <= width; x += kStep) {
        Pixels s{};
        Pixels d{};
        if constexpr (rop::UsesSource(Index)) s = Load<Pixels>(src + x);
        if constexpr (rop::UsesDest(Index)) d = Load<Pixels>(dst + x);
        S::Store(dst + x, RopApply<Index>(s, d, pattern));
      }
      for (; x < width; ++x) {
        Pixel s = 0;
        Pixel d = 0;
        if constexpr (rop::UsesSource(Index)) s = src[x];
        if constexpr (rop::UsesDest(Index)) d = dst[x];
        dst[x] = RopApply<Index>(s, d, pattern);
      }
      dst += dstPitch;
      if constexpr (rop::UsesSource(Index)) src += srcPitch;
    }
  }

  struct RopTable {
    rop::BlockFunction blocks[256];
  };
  template <std::size_t... I>
  static constexpr RopTable MakeRopTable(std::index_sequence<I...>) {
    return {{&RopBlock<I>...}};
  }
  static constexpr RopTable kRopTable = MakeRopTable(std::make_index_sequence<256>{});

  static constexpr PixelKernels Set(const char* name) {
    return {name,           kStep,          &ScaleTaps, &ScalePairs,   &DoubleRow, &Blend2,      &Blend2Twice,
            &BlendQuarters, &And2,          &Or2,       &Copy,         &AddWeighted, &FinishWeighted, &AndInto,
            &OrInto,        &BlendCoverage, kRopTable.blocks};
  }
};

}  // namespace
}  // namespace win32::gdi
