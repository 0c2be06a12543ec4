// Arithmetic of an X screen switch, kept apart from Xlib so that it can be checked alone.
#pragma once

#include <optional>
#include <vector>

namespace win32::display {

struct ScreenSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// A mode's vertical refresh in whole hertz (rounded), from its timings; 0 when they are
// missing. An interlaced mode scans two fields per frame, a double-scanned one each line
// twice.
int RefreshHz(unsigned long dotClock, unsigned hTotal, unsigned vTotal, bool interlaced, bool doubleScan);

// The screen that just holds every lit CRTC, grown to the server's minimum; nothing when
// it would exceed the maximum.
std::optional<ScreenSize> ScreenToHold(const std::vector<ScreenRect>& crtcs, ScreenSize minimum, ScreenSize maximum);

// A CRTC may only change inside the screen, and the screen may only shrink around CRTCs
// that already fit: the switch goes through a screen big enough for both.
inline ScreenSize Union(ScreenSize a, ScreenSize b) {
  return {a.width > b.width ? a.width : b.width, a.height > b.height ? a.height : b.height};
}

// The physical size that keeps the screen's pixel density when it takes `pixels`.
int ScaledMillimetres(int pixels, int currentPixels, int currentMillimetres);

}  // namespace win32::display
