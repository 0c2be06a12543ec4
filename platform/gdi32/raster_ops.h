// Ternary raster operations, evaluated from the operation index alone.
//
// The index (bits 16-23 of a ROP code) is the operation's truth table: bit (P<<2 | S<<1 | D)
// is the result for pattern bit P, source bit S and destination bit D. Row functions apply
// it bitwise to whole pixels; one is instantiated for each of the 256 indexes, so a blit
// picks its function once and runs a tight loop with no per-pixel decisions.
#pragma once

#include "platform/gdi32/pixel.h"

namespace win32::gdi::rop {

constexpr unsigned Index(DWORD rop) { return (rop >> 16) & 0xFFu; }

// Whether the result depends on each input: flipping that input changes some truth-table bit.
constexpr bool UsesPattern(unsigned index) { return (((index >> 4) ^ index) & 0x0Fu) != 0; }
constexpr bool UsesSource(unsigned index) { return (((index >> 2) ^ index) & 0x33u) != 0; }
constexpr bool UsesDest(unsigned index) { return (((index >> 1) ^ index) & 0x55u) != 0; }

// dst[i] = f(pattern, src[i], dst[i]) for i < count, kept opaque. `src` is not read (and
// may be null) when the operation does not use the source. src may equal dst.
using RowFunction = void (*)(Pixel* dst, const Pixel* src, Pixel pattern, int count);

RowFunction Row(unsigned index);

}  // namespace win32::gdi::rop
