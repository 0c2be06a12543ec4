// The scaling half of StretchBlt: which source pixels make each destination pixel, and how
// they are combined, one axis at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi32/pixel.h"

namespace win32::gdi {

enum class Combine {
  Pick,      // one source pixel (nearest neighbour)
  And,       // bitwise AND of the pixels a destination pixel covers (BLACKONWHITE)
  Or,        // bitwise OR (WHITEONBLACK)
  Weighted,  // weighted average per channel (HALFTONE: area average, or linear interpolation)
};

inline constexpr int kWeightOne = 1 << 8;

// One axis of a stretch. Destination positions [first, first + count) are drawn; position
// first + i is made of sources[offsets[i] .. offsets[i+1]) with their weights (which sum to
// kWeightOne for Weighted).
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

// Makes out[i], for each destination position i of the map, from the source row `in`,
// where in[j - inBase] is the pixel at source position j.
void ResampleRow(const AxisMap& map, const Pixel* in, int inBase, Pixel* out);

// Combines whole rows, one source row at a time, the way the map combines a destination
// position's sources.
class RowAccumulator {
 public:
  void Reset(Combine combine, int width);
  void Add(const Pixel* row, int weight);
  void Finish(Pixel* out) const;

 private:
  Combine combine_ = Combine::Pick;
  int width_ = 0;
  std::vector<Pixel> bits_;
  std::vector<std::uint32_t> redBlue_;  // weighted sums, two channels per word (see resampler.cpp)
  std::vector<std::uint32_t> green_;
};

}  // namespace win32::gdi
