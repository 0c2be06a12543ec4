// The screen's mode in force, for gdi32's GetDeviceCaps on the screen and on window DCs.
#pragma once

namespace win32::display {

struct ScreenMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;  // as Windows reports it: 32 for a 24-bit-deep X screen
  int refreshRate = 0;   // Hz, 0 when unknown
};

// The current mode of the primary screen. Without a display: the one mode the platform
// assumes for a screen it cannot see.
ScreenMode CurrentScreenMode();

}  // namespace win32::display
