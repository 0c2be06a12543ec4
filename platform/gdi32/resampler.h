// The scaling half of StretchBlt: which source pixels make each destination pixel, and how
// they are combined, one axis at a time: source rows are scaled to the destination's width
// (RowScaler), then destination rows are combined from those scaled rows (RowCombiner).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi32/pixel.h"
#include "platform/gdi32/pixel_kernels.h"

namespace win32::gdi {

enum class Combine {
  Pick,      // one source pixel (nearest neighbour)
  And,       // bitwise AND of the pixels a destination pixel covers (BLACKONWHITE)
  Or,        // bitwise OR (WHITEONBLACK)
  Weighted,  // weighted average per channel (HALFTONE: area average, or linear interpolation)
};

// One axis of a stretch. Destination positions [first, first + count) are drawn; position
// first + i is made of sources[offsets[i] .. offsets[i+1]) with their weights (which sum to
// kWeightOne for Weighted). A position's sources are consecutive and ascending.
struct AxisMap {
  Combine combine = Combine::Pick;
  int first = 0;
  std::vector<int> offsets;
  std::vector<int> sources;
  std::vector<int> weights;
  int sourceMin = 0;  // the range of source positions referenced
  int sourceMax = -1;
  int maxTaps = 0;

  int Count() const { return offsets.empty() ? 0 : static_cast<int>(offsets.size()) - 1; }
};

// Maps destination extent [destOrigin, destOrigin + destExtent) onto source extent
// [srcOrigin, srcOrigin + srcExtent) (a negative extent runs from origin + extent to origin,
// and opposite signs mirror), for a destination of destLimit and a source of srcLimit
// positions, under a stretch mode (BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE).
// A destination position is drawn when it lies in the destination and its centre maps into
// the source; its sources are kept inside both the source rectangle and the source.
AxisMap MapAxis(std::int64_t destOrigin, std::int64_t destExtent, std::int64_t srcOrigin, std::int64_t srcExtent,
                int destLimit, int srcLimit, int stretchMode);

// Scales source rows horizontally, the way a column map combines each destination column's
// sources. The per-column work is laid out once, when the scaler is made, so that scaling a
// row is one tight loop of the kernel set it is made for: weighted columns become a fixed
// number of taps each (the widest column's span), a vector of columns at a time; an exact
// enlargement by two is a blend of each source pixel with each neighbour.
class RowScaler {
 public:
  RowScaler(const AxisMap& columns, const PixelKernels& kernels);

  // How many pixels Scale may write: the map's count, rounded up to whole vectors.
  int PaddedWidth() const { return paddedWidth_; }

  // out[i] for each destination column i of the map, from a source row where in[0] is the
  // pixel at source position columns.sourceMin. The padding holds pixels of no meaning.
  void Scale(const Pixel* in, Pixel* out) const;

 private:
  enum class Method { Copy, Pick, Taps, Pairs, Doubling, Bitwise };
  void ScaleBitwise(const Pixel* in, Pixel* out) const;

  const AxisMap& map_;
  const PixelKernels& kernels_;
  Method method_ = Method::Pick;
  int paddedWidth_ = 0;
  int taps_ = 1;             // Taps: taps per column
  std::vector<int> starts_;  // Pick, Taps, Pairs: each column's first source, from sourceMin
  // Taps, Pairs: the weights as the kernel set's loops read them.
  std::vector<std::uint16_t> weights_;
  int centre_ = 0;  // Doubling: the first column's centre, from sourceMin, and its phase
  int phase_ = 0;
};

// Combines scaled rows into destination rows the way a row map combines each destination
// row's sources. Rows given to it hold whole vectors (RowScaler's padded width); results
// are written for `width` pixels only, and are opaque.
class RowCombiner {
 public:
  RowCombiner(const PixelKernels& kernels, Combine combine, int width);

  // One pass over all of a destination row's scaled rows: for rows that are all at hand.
  void Combine2(const Pixel* first, int firstWeight, const Pixel* second, int secondWeight, Pixel* out) const;
  void Copy(const Pixel* row, Pixel* out) const;
  // Two Weighted destination rows of the same two scaled rows (enlarging about twice makes
  // them in pairs), in one pass: `weights` are the first row's two, then the second's.
  void Blend2Twice(const Pixel* first, const Pixel* second, const int* weights, Pixel* out, Pixel* nextOut) const;

  // Rows added one at a time, for any number of them.
  void Reset();
  void Add(const Pixel* row, int weight);
  void Finish(Pixel* out) const;

 private:
  const PixelKernels& kernels_;
  Combine combine_;
  int width_;
  int padded_;                       // width_ in whole vectors
  bool first_ = true;                // the next row added is the first
  std::vector<std::uint16_t> sums_;  // Weighted: running sums
  std::vector<Pixel> bits_;          // And, Or, Pick: running result
};

}  // namespace win32::gdi
