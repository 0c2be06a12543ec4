#include "platform/gdi32/raster_ops.h"

#include <array>
#include <utility>

namespace win32::gdi::rop {
namespace {

// A two-input function of source and destination, from a 4-bit truth table whose bit
// (S<<1 | D) is the result. The compiler folds the constant terms into a few word operations.
template <unsigned Table>
inline Pixel Of(Pixel s, Pixel d) {
  Pixel r = 0;
  if constexpr ((Table & 1u) != 0) r |= ~s & ~d;
  if constexpr ((Table & 2u) != 0) r |= ~s & d;
  if constexpr ((Table & 4u) != 0) r |= s & ~d;
  if constexpr ((Table & 8u) != 0) r |= s & d;
  return r;
}

// The index split on the pattern: the low nibble applies where a pattern bit is 0, the high
// nibble where it is 1. A solid brush gives one pattern value per row, so each pixel costs
// the two small functions and a select.
template <unsigned Index>
void RowOf(Pixel* dst, const Pixel* src, Pixel pattern, int count) {
  constexpr unsigned whereClear = Index & 0x0Fu;
  constexpr unsigned whereSet = Index >> 4;
  for (int i = 0; i < count; ++i) {
    Pixel s = 0;
    Pixel d = 0;
    if constexpr (UsesSource(Index)) s = src[i];
    if constexpr (UsesDest(Index)) d = dst[i];
    Pixel clear = Of<whereClear>(s, d);
    if constexpr (whereClear == whereSet) {
      dst[i] = clear | kOpaque;
    } else {
      Pixel set = Of<whereSet>(s, d);
      dst[i] = (clear ^ ((clear ^ set) & pattern)) | kOpaque;
    }
  }
}

template <std::size_t... I>
constexpr std::array<RowFunction, sizeof...(I)> MakeTable(std::index_sequence<I...>) {
  return {&RowOf<I>...};
}

constexpr auto kRows = MakeTable(std::make_index_sequence<256>{});

}  // namespace

RowFunction Row(unsigned index) { return kRows[index & 0xFFu]; }

}  // namespace win32::gdi::rop
