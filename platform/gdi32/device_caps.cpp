// GetDeviceCaps: every DC here belongs to the display, so all of them report the screen.
#include "platform/gdi32/handle_table.h"
#include "platform/user32/display/current_mode.h"

using namespace win32::gdi;

namespace {

constexpr int kLogicalDpi = 96;

int Millimetres(int pixels) { return (pixels * 254 + kLogicalDpi * 5) / (kLogicalDpi * 10); }

}  // namespace

int WINAPI GetDeviceCaps(HDC hdc, int index) {
  if (!FindDC(hdc)) return 0;
  switch (index) {
    case DRIVERVERSION:
      return 0x4000;
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case PLANES:
      return 1;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return kLogicalDpi;
    default:
      break;
  }
  const win32::display::ScreenMode mode = win32::display::CurrentScreenMode();
  switch (index) {
    case HORZRES:
    case DESKTOPHORZRES:
      return mode.width;
    case VERTRES:
    case DESKTOPVERTRES:
      return mode.height;
    case HORZSIZE:
      return Millimetres(mode.width);
    case VERTSIZE:
      return Millimetres(mode.height);
    case BITSPIXEL:
      return mode.bitsPerPixel;
    case NUMCOLORS:
      // Palette devices report their static colours; true-colour ones -1.
      return mode.bitsPerPixel > 8 ? -1 : 20;
    case VREFRESH:
      // 0 and 1 both mean the hardware's default rate.
      return mode.refreshRate > 1 ? mode.refreshRate : 1;
    case RASTERCAPS: {
      int caps = RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV | RC_BIGFONT | RC_STRETCHBLT |
                 RC_STRETCHDIB | RC_DEVBITS;
      return mode.bitsPerPixel <= 8 ? caps | RC_PALETTE : caps;
    }
    default:
      return 0;
  }
}
