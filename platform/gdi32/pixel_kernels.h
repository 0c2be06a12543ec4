// The pixel loops of StretchBlt, BitBlt and TextOutA, built once for the baseline instruction
// set and once more for AVX2. The set in use is chosen once, from what the CPU has; every set
// gives the same pixels.
//
// Rows handed to a loop are read in whole vectors (a set's pixelsPerVector) unless a loop
// says otherwise; results are written for the pixels asked for only.
#pragma once

#include <cstdint>

#include "platform/gdi32/pixel.h"
#include "platform/gdi32/raster_ops.h"

namespace win32::gdi {

// Weights are fixed point: kWeightOne is a whole pixel. A channel's weighted sum, at most
// 255 * kWeightOne plus the rounding half, fits the 16-bit lanes the sums are made in.
inline constexpr int kWeightOne = 1 << 8;
static_assert(255 * kWeightOne + kWeightOne / 2 < (1 << 16));

// The widest vector of any set, in pixels: rows padded to it suit every set.
inline constexpr int kWidestVector = 8;

struct PixelKernels {
  const char* name;
  int pixelsPerVector;

  // Horizontal scaling, `width` (a whole number of vectors) columns. Column i sums `taps`
  // pixels from in + starts[i] on, with weights laid out by vector: for each vector of
  // columns, for each tap, each column's weight in both 16-bit lanes of its pixel. Weights
  // start on a 16-byte boundary, as the standard allocator gives them.
  void (*scaleTaps)(const Pixel* in, const int* starts, const std::uint16_t* weights, int taps, int width,
                    Pixel* out);
  // The same for two taps, fetched as pixel pairs, with weights laid out by column: its first
  // tap's weight twice, then its second's; columns in the order PairSlot gives.
  void (*scalePairs)(const Pixel* in, const int* starts, const std::uint16_t* weights, int width, Pixel* out);
  // An exact enlargement by two: out[j], for j < count, takes three quarters of its centre
  // pixel in[c] and a quarter of a neighbour, c = centre + (j + phase) / 2, the left
  // neighbour for even j + phase and the right one for odd. Neighbours outside
  // [0, inCount) are the edge pixel itself. Reads inside [0, inCount) only.
  void (*doubleRow)(const Pixel* in, int inCount, int centre, int phase, int count, Pixel* out);

  // Vertical combination of rows of `width` pixels into opaque results.
  void (*blend2)(const Pixel* a, int aWeight, const Pixel* b, int bWeight, int width, Pixel* out);
  // Two destination rows of the same two rows: weights are out's two, then nextOut's.
  void (*blend2Twice)(const Pixel* a, const Pixel* b, const int* weights, int width, Pixel* out, Pixel* nextOut);
  // The same for weights 192, 64 and 64, 192 (what enlarging by two makes).
  void (*blendQuarters)(const Pixel* a, const Pixel* b, int width, Pixel* out, Pixel* nextOut);
  void (*and2)(const Pixel* a, const Pixel* b, int width, Pixel* out);
  void (*or2)(const Pixel* a, const Pixel* b, int width, Pixel* out);
  void (*copy)(const Pixel* row, int width, Pixel* out);
  // Running sums for any number of rows: four 16-bit sums per pixel of `width` (a whole
  // number of vectors), the first row's starting from half of the weights' total.
  void (*addWeighted)(const Pixel* row, int weight, std::uint16_t* sums, int width, bool first);
  void (*finishWeighted)(const std::uint16_t* sums, int width, Pixel* out);
  void (*andInto)(const Pixel* row, Pixel* bits, int width);
  void (*orInto)(const Pixel* row, Pixel* bits, int width);

  // Glyph coverage blended in `color` over `count` pixels: each pixel's coverage (0 to 255)
  // is in both 16-bit lanes of its pixel, and pixels of no coverage keep their value.
  void (*blendCoverage)(Pixel* out, const std::uint16_t* coverage, int count, Pixel color);

  // The raster operation blocks, by operation index.
  const rop::BlockFunction* blocks;
};

// Where scalePairs wants column i of a vector's columns: each 16-byte lane of the loaded
// pairs holds four columns, two from each of the two loads.
constexpr int PairSlot(int i, int pixelsPerVector) { return i % 4 / 2 * (pixelsPerVector / 2) + i / 4 * 2 + i % 2; }

// The set in use.
const PixelKernels& Kernels();

// The baseline set and, where the CPU has AVX2, the AVX2 set.
const PixelKernels& BaselineKernels();
const PixelKernels* Avx2Kernels();

// Makes `kernels` the set in use (tests run every set this way); null returns to the one
// chosen at start-up.
void UseKernels(const PixelKernels* kernels);

}  // namespace win32::gdi
