// The screen's mode in force for this program, for gdi32's GetDeviceCaps on the screen and on
// window DCs, and the desktop's own.
#pragma once

namespace win32::display {

struct ScreenMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;  // as Windows reports it: 32 for a 24-bit-deep X screen
  int refreshRate = 0;   // Hz, 0 when unknown

  friend bool operator==(const ScreenMode&, const ScreenMode&) = default;
};

// The mode of the primary screen as this program sees it: the desktop's own, or the one a
// display change made this program's. Without a display: the one mode the platform assumes
// for a screen it cannot see.
ScreenMode CurrentScreenMode();

// The desktop's own mode of the primary screen, which this program never changes.
ScreenMode DesktopScreenMode();

// True while this program's screen has another size than the desktop's: it is emulated, and
// shown scaled on the real one.
bool ScreenIsEmulated();

}  // namespace win32::display
