// How a stretch of one geometry is done: its column and row maps, and the scaler made from
// the columns. Working these out costs about as much as scaling one row per destination
// position, and a program presents its frames with the same stretch again and again, so
// the last few plans are kept.
#pragma once

#include <cstdint>

#include "platform/gdi32/resampler.h"

namespace win32::gdi {

// A stretch as StretchBlt is asked for it, with the sizes of the two surfaces and the
// destination's stretch mode.
struct StretchGeometry {
  std::int64_t xDest, yDest, wDest, hDest;
  std::int64_t xSrc, ySrc, wSrc, hSrc;
  int destWidth, destHeight;
  int srcWidth, srcHeight;
  int stretchMode;

  bool operator==(const StretchGeometry&) const = default;
};

struct StretchPlan {
  StretchPlan(const StretchGeometry& g, const PixelKernels& kernels);
  StretchPlan(const StretchPlan&) = delete;
  StretchPlan& operator=(const StretchPlan&) = delete;

  const StretchGeometry geometry;
  const PixelKernels& kernels;  // the set the scaler is laid out for
  const AxisMap columns;
  const AxisMap rows;
  const RowScaler scaler;  // made from `columns`
};

// The plan for a geometry with the kernel set in use, found among the last ones made or made
// now. The reference is valid until the next call.
const StretchPlan& PlanFor(const StretchGeometry& geometry);

}  // namespace win32::gdi
