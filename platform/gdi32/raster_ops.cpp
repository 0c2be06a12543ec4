#include "platform/gdi32/raster_ops.h"

#include <array>
#include <utility>

#include "platform/gdi32/simd.h"

namespace win32::gdi::rop {
namespace {

// A two-input function of source and destination, from a 4-bit truth table whose bit
// (S<<1 | D) is the result. The compiler folds the constant terms into a few word operations;
// the same code serves single pixels and vectors of them.
template <unsigned Table, typename T>
inline T Of(T s, T d) {
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
inline T Apply(T s, T d, Pixel pattern) {
  constexpr unsigned whereClear = Index & 0x0Fu;
  constexpr unsigned whereSet = Index >> 4;
  T clear = Of<whereClear>(s, d);
  if constexpr (whereClear == whereSet) {
    return clear | kOpaque;
  } else {
    T set = Of<whereSet>(s, d);
    return (clear ^ ((clear ^ set) & pattern)) | kOpaque;
  }
}

template <unsigned Index>
void BlockOf(Pixel* dst, std::ptrdiff_t dstPitch, const Pixel* src, std::ptrdiff_t srcPitch, Pixel pattern, int width,
             int height) {
  using simd::Pixels4;
  constexpr int kStep = simd::kPixelsPerVector;
  for (int y = 0; y < height; ++y) {
    int x = 0;
    for (; x + kStep <= width; x += kStep) {
      Pixels4 s{};
      Pixels4 d{};
      if constexpr (UsesSource(Index)) s = simd::Load<Pixels4>(src + x);
      if constexpr (UsesDest(Index)) d = simd::Load<Pixels4>(dst + x);
      simd::Store(dst + x, Apply<Index>(s, d, pattern));
    }
    for (; x < width; ++x) {
      Pixel s = 0;
      Pixel d = 0;
      if constexpr (UsesSource(Index)) s = src[x];
      if constexpr (UsesDest(Index)) d = dst[x];
      dst[x] = Apply<Index>(s, d, pattern);
    }
    dst += dstPitch;
    if constexpr (UsesSource(Index)) src += srcPitch;
  }
}

template <std::size_t... I>
constexpr std::array<BlockFunction, sizeof...(I)> MakeTable(std::index_sequence<I...>) {
  return {&BlockOf<I>...};
}

constexpr auto kBlocks = MakeTable(std::make_index_sequence<256>{});

}  // namespace

BlockFunction Block(unsigned index) { return kBlocks[index & 0xFFu]; }

}  // namespace win32::gdi::rop
