#include "platform/user32/display/screen_geometry.h"

#include <cmath>

namespace win32::display {

int RefreshHz(unsigned long dotClock, unsigned hTotal, unsigned vTotal, bool interlaced, bool doubleScan) {
  if (dotClock == 0 || hTotal == 0 || vTotal == 0) return 0;
  double rate = static_cast<double>(dotClock) / (static_cast<double>(hTotal) * vTotal);
  if (interlaced) rate *= 2;
  if (doubleScan) rate /= 2;
  return static_cast<int>(std::lround(rate));
}

std::optional<ScreenSize> ScreenToHold(const std::vector<ScreenRect>& crtcs, ScreenSize minimum, ScreenSize maximum) {
  ScreenSize size = minimum;
  for (const ScreenRect& r : crtcs) size = Union(size, {r.x + r.width, r.y + r.height});
  if (size.width > maximum.width || size.height > maximum.height) return std::nullopt;
  return size;
}

int ScaledMillimetres(int pixels, int currentPixels, int currentMillimetres) {
  // A screen that does not know its size is taken at 96 pixels per inch.
  if (currentPixels <= 0 || currentMillimetres <= 0) return static_cast<int>(std::lround(pixels * 25.4 / 96));
  return static_cast<int>(std::lround(static_cast<double>(pixels) * currentMillimetres / currentPixels));
}

}  // namespace win32::display
