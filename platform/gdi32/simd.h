// Fixed-width vectors for the pixel loops, written with GCC's vector extensions (which Clang
// understands too), in two widths: 16 bytes (SSE2 on x86-64, NEON on ARM, at any
// optimisation level) and 32 bytes (AVX2, for the translation unit built with -mavx2).
//
// A pixel is 0xAARRGGBB in memory order B, G, R, A. Seen as 16-bit lanes, each pixel is two
// lanes, GGBB and AARR: the "even" bytes (blue, red) are the low halves of the lanes and the
// "odd" bytes (green, alpha) the high halves. Weighted sums run on the two halves separately,
// each channel in a 16-bit lane of its own, and the halves are put together again at the end.
//
// Only the pixel loop translation units include this header. Everything in it has internal
// linkage, so that code built for AVX2 cannot stand in for a baseline copy at link time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "platform/gdi32/pixel.h"

namespace win32::gdi::simd {
namespace {

template <int kBytes>
struct VectorTypes;
template <>
struct VectorTypes<16> {
  using Pixels = std::uint32_t __attribute__((vector_size(16)));
  using Lanes = std::uint16_t __attribute__((vector_size(16)));
  using Bytes = std::uint8_t __attribute__((vector_size(16)));
  using Pairs = std::uint64_t __attribute__((vector_size(16)));
};
template <>
struct VectorTypes<32> {
  using Pixels = std::uint32_t __attribute__((vector_size(32)));
  using Lanes = std::uint16_t __attribute__((vector_size(32)));
  using Bytes = std::uint8_t __attribute__((vector_size(32)));
  using Pairs = std::uint64_t __attribute__((vector_size(32)));
};

// The vectors of one width and the operations on them.
template <int kBytes>
struct Simd : VectorTypes<kBytes> {
  using Pixels = typename VectorTypes<kBytes>::Pixels;  // pixels
  using Lanes = typename VectorTypes<kBytes>::Lanes;    // the same pixels as 16-bit lanes
  using Bytes = typename VectorTypes<kBytes>::Bytes;    // ... as bytes, a channel each
  using Pairs = typename VectorTypes<kBytes>::Pairs;    // ... as 64-bit pairs of pixels
  static constexpr int kPixels = kBytes / 4;
  static constexpr int kPairs = kBytes / 8;

  // Unaligned loads and stores.
  template <typename Vector>
  static Vector Load(const void* from) {
    Vector v;
    std::memcpy(&v, from, sizeof v);
    return v;
  }
  template <typename Vector>
  static void Store(void* to, Vector v) {
    std::memcpy(to, &v, sizeof v);
  }
  // The first `count` pixels of a vector.
  static void StorePart(Pixel* to, Pixels v, int count) { std::memcpy(to, &v, sizeof(Pixel) * count); }

  template <typename Vector>
  static bool AllZero(Vector v) {
    std::uint64_t words[kBytes / 8];
    std::memcpy(words, &v, sizeof v);
    std::uint64_t any = 0;
    for (std::uint64_t w : words) any |= w;
    return any == 0;
  }

  // A vector of values made by f(i) for each of its elements i: built in registers, where
  // storing elements one at a time and loading the vector would wait for the stores.
  template <typename Vector, typename F>
  static Vector Make(F f) {
    return Make<Vector>(f, std::make_index_sequence<sizeof(Vector) / sizeof(f(0))>{});
  }

  // Splits pixels into the channels of the even bytes and of the odd bytes, each in the low
  // byte of a 16-bit lane.
  static Lanes EvenBytes(Pixels p) { return reinterpret_cast<Lanes>(p & 0x00FF00FFu); }
  static Lanes OddBytes(Pixels p) { return reinterpret_cast<Lanes>(p) >> 8; }

  // Pixels from weighted sums of the even and odd channels whose weights add up to 256, with
  // the rounding half already added: each channel is its sum divided by 256. The result is
  // opaque.
  static Pixels FromSums(Lanes even, Lanes odd) {
    return reinterpret_cast<Pixels>(even >> 8) | (reinterpret_cast<Pixels>(odd) & 0xFF00FF00u) | kOpaque;
  }

  // Each byte the average of the two, rounded up: (a + b + 1) / 2.
  static Bytes AverageUp(Bytes a, Bytes b) {
#if defined(__AVX2__)
    if constexpr (kBytes == 32)
      return reinterpret_cast<Bytes>(_mm256_avg_epu8(reinterpret_cast<__m256i>(a), reinterpret_cast<__m256i>(b)));
#endif
#if defined(__SSE2__)
    if constexpr (kBytes == 16)
      return reinterpret_cast<Bytes>(_mm_avg_epu8(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(b)));
#endif
    return (a | b) - ((a ^ b) >> 1);
  }
  // ... rounded down: (a + b) / 2.
  static Bytes AverageDown(Bytes a, Bytes b) { return AverageUp(a, b) - ((a ^ b) & 1); }

  // Each channel three quarters of `heavy` and a quarter of another pixel, light: exactly
  // (light + 3 * heavy + 2) / 4, which is (64 * light + 192 * heavy + 128) / 256, given
  // down = AverageDown(light, heavy).
  static Bytes ThreeQuarters(Bytes heavy, Bytes down) { return AverageUp(down, heavy); }

  // Elements taken from two vectors, within each 16-byte lane: the even ones of each, then
  // the odd ones of each. For x = {a0 a1 a2 a3}, y = {b0 b1 b2 b3}: {a0 a2 b0 b2}, {a1 a3 b1 b3}.
  static Pixels EvenElements(Pixels x, Pixels y) { return PickInLanes<0>(x, y, std::make_index_sequence<kPixels>{}); }
  static Pixels OddElements(Pixels x, Pixels y) { return PickInLanes<1>(x, y, std::make_index_sequence<kPixels>{}); }

  // The elements of two vectors interleaved, x0 y0 x1 y1 ...: the first half and the second.
  static Pixels InterleaveLow(Pixels x, Pixels y) { return Interleave<0>(x, y, std::make_index_sequence<kPixels>{}); }
  static Pixels InterleaveHigh(Pixels x, Pixels y) {
    return Interleave<kPixels / 2>(x, y, std::make_index_sequence<kPixels>{});
  }

 private:
  template <typename Vector, typename F, std::size_t... I>
  static Vector Make(F f, std::index_sequence<I...>) {
    return Vector{f(I)...};
  }
  template <int kOdd, std::size_t... I>
  static Pixels PickInLanes(Pixels x, Pixels y, std::index_sequence<I...>) {
    // Result element i: lane i / 4, from x for i % 4 < 2, from y otherwise.
    return __builtin_shufflevector(x, y, (I / 4 * 4 + I % 2 * 2 + (I % 4 >= 2 ? kPixels : 0) + kOdd)...);
  }
  template <int kFrom, std::size_t... I>
  static Pixels Interleave(Pixels x, Pixels y, std::index_sequence<I...>) {
    return __builtin_shufflevector(x, y, (kFrom + I / 2 + (I % 2 ? kPixels : 0))...);
  }
};

}  // namespace
}  // namespace win32::gdi::simd
