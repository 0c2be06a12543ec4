#include "platform/user32/display/screen_fit.h"

#include <algorithm>
#include <cmath>

namespace win32::display {

ScreenFit FitScreen(int screenWidth, int screenHeight, int outputWidth, int outputHeight) {
  if (screenWidth <= 0 || screenHeight <= 0 || outputWidth <= 0 || outputHeight <= 0) {
    return {0, 0, std::max(screenWidth, 0), std::max(screenHeight, 0), 1, false};
  }
  double largest =
      std::min(static_cast<double>(outputWidth) / screenWidth, static_cast<double>(outputHeight) / screenHeight);
  double whole = std::floor(largest);
  ScreenFit fit;
  if (whole >= 1 && whole * screenHeight * 5 >= outputHeight * 4.0) {
    fit.scale = whole;
  } else {
    fit.scale = largest;
    fit.smooth = true;
  }
  fit.width = static_cast<int>(std::lround(screenWidth * fit.scale));
  fit.height = static_cast<int>(std::lround(screenHeight * fit.scale));
  fit.x = static_cast<int>(std::lround((outputWidth - fit.width) / 2.0));
  fit.y = static_cast<int>(std::lround((outputHeight - fit.height) / 2.0));
  return fit;
}

}  // namespace win32::display
