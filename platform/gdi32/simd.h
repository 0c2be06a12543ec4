// Short fixed-width vectors for the pixel loops, written with GCC's vector extensions (which
// Clang understands too). The compiler turns them into SSE2 on x86-64 and NEON on ARM at
// any optimisation level, where plain loops are only vectorised at -O3.
//
// A pixel is 0xAARRGGBB in memory order B, G, R, A. Seen as 16-bit lanes, each pixel is two
// lanes, GGBB and AARR: the "even" bytes (blue, red) are the low halves of the lanes and the
// "odd" bytes (green, alpha) the high halves. Weighted sums run on the two halves separately,
// each channel in a 16-bit lane of its own, and the halves are put together again at the end.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/gdi32/pixel.h"

namespace win32::gdi::simd {

using Pixels4 = std::uint32_t __attribute__((vector_size(16)));  // four pixels
using Lanes8 = std::uint16_t __attribute__((vector_size(16)));   // the same pixels as 16-bit lanes
inline constexpr int kPixelsPerVector = 4;

// Unaligned loads and stores.
template <typename Vector>
inline Vector Load(const void* from) {
  Vector v;
  std::memcpy(&v, from, sizeof v);
  return v;
}
template <typename Vector>
inline void Store(void* to, Vector v) {
  std::memcpy(to, &v, sizeof v);
}

// Splits pixels into the channels of the even bytes and of the odd bytes, each in the low
// byte of a 16-bit lane.
inline Lanes8 EvenBytes(Pixels4 p) { return reinterpret_cast<Lanes8>(p & 0x00FF00FFu); }
inline Lanes8 OddBytes(Pixels4 p) { return reinterpret_cast<Lanes8>(p) >> 8; }

// Pixels from weighted sums of the even and odd channels whose weights add up to 256, with
// the rounding half already added: each channel is its sum divided by 256. The result is
// opaque.
inline Pixels4 FromSums(Lanes8 even, Lanes8 odd) {
  return reinterpret_cast<Pixels4>(even >> 8) | (reinterpret_cast<Pixels4>(odd) & 0xFF00FF00u) | kOpaque;
}

}  // namespace win32::gdi::simd
