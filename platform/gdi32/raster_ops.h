// Ternary raster operations, evaluated from the operation index alone.
//
// The index (bits 16-23 of a ROP code) is the operation's truth table: bit (P<<2 | S<<1 | D)
// is the result for pattern bit P, source bit S and destination bit D. Block functions apply
// it bitwise to whole pixels; one is instantiated for each of the 256 indexes (in each kernel
// set, see pixel_loops.h), so a blit picks its function once and runs a tight loop with no
// per-pixel decisions.
#pragma once

#include <cstddef>

#include "platform/gdi32/pixel.h"

namespace win32::gdi::rop {

constexpr unsigned Index(DWORD rop) { return (rop >> 16) & 0xFFu; }

// Whether the result depends on each input: flipping that input changes some truth-table bit.
constexpr bool UsesPattern(unsigned index) { return (((index >> 4) ^ index) & 0x0Fu) != 0; }
constexpr bool UsesSource(unsigned index) { return (((index >> 2) ^ index) & 0x33u) != 0; }
constexpr bool UsesDest(unsigned index) { return (((index >> 1) ^ index) & 0x55u) != 0; }

inline constexpr unsigned kSrcCopy = 0xCC;

// For each of `height` rows of `width` pixels: dst[x] = f(pattern, src[x], dst[x]), kept
// opaque. Rows lie `dstPitch` and `srcPitch` pixels apart. `src` is not read (and may be
// null) when the operation does not use the source. A source row may be its destination
// row, but rows must not overlap otherwise.
using BlockFunction = void (*)(Pixel* dst, std::ptrdiff_t dstPitch, const Pixel* src, std::ptrdiff_t srcPitch,
                               Pixel pattern, int width, int height);

BlockFunction Block(unsigned index);

}  // namespace win32::gdi::rop
