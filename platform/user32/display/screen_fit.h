// Where an emulated screen appears on a real output: scaled uniformly and centred, with black
// around it. A whole-number scale keeps every pixel a crisp square and is taken when it fills
// at least 80 % of the output's height; otherwise the largest scale that fits, smoothed.
#pragma once

namespace win32::display {

struct ScreenFit {
  int x = 0;  // the picture's place on the output
  int y = 0;
  int width = 0;
  int height = 0;
  double scale = 1;
  bool smooth = false;  // not a whole-number scale: pixels are interpolated

  friend bool operator==(const ScreenFit&, const ScreenFit&) = default;
};

ScreenFit FitScreen(int screenWidth, int screenHeight, int outputWidth, int outputHeight);

}  // namespace win32::display
