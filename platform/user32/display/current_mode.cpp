#include "platform/user32/display/current_mode.h"

#include <X11/Xlib.h>

namespace win32::display {

ScreenMode CurrentScreenMode() {
  // Without an X server the platform assumes one screen of this size.
  ScreenMode mode{1024, 768, 32, 60};
  if (Display* x = XOpenDisplay(nullptr)) {
    int screen = DefaultScreen(x);
    mode.width = DisplayWidth(x, screen);
    mode.height = DisplayHeight(x, screen);
    int depth = DefaultDepth(x, screen);
    mode.bitsPerPixel = depth >= 24 ? 32 : depth;
    mode.refreshRate = 0;
    XCloseDisplay(x);
  }
  return mode;
}

}  // namespace win32::display
