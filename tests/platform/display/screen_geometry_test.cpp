// The arithmetic of an X screen switch.
#include "platform/user32/display/screen_geometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using win32::display::RefreshHz;
using win32::display::ScreenRect;
using win32::display::ScreenSize;
using win32::display::ScreenToHold;

TEST(RefreshHzTest, FromModeTimings) {
  struct Case {
    unsigned long clock;
    unsigned hTotal, vTotal;
    bool interlaced, doubleScan;
    int hz;
  };
  const Case cases[] = {
      {65'000'000, 1344, 806, false, false, 60},    // 1024x768 VESA
      {25'175'000, 800, 525, false, false, 60},     // 640x480 at 59.94 rounds up
      {31'500'000, 840, 500, false, false, 75},     // 640x480 at 75
      {148'500'000, 2200, 1125, false, false, 60},  // 1920x1080
      {74'250'000, 2200, 1125, true, false, 60},    // 1080i: two fields per frame
      {25'175'000, 800, 525, false, true, 30},      // double-scanned lines halve the rate
      {0, 800, 525, false, false, 0},               // a mode without timings (Xvfb)
      {25'175'000, 0, 525, false, false, 0},
      {25'175'000, 800, 0, false, false, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RefreshHz(c.clock, c.hTotal, c.vTotal, c.interlaced, c.doubleScan), c.hz)
        << c.clock << " " << c.hTotal << "x" << c.vTotal;
  }
}

TEST(ScreenToHoldTest, JustHoldsEveryLitCrtc) {
  const ScreenSize min{64, 64}, max{4096, 4096};
  EXPECT_EQ(ScreenToHold({{0, 0, 640, 480}}, min, max), (ScreenSize{640, 480}));
  // A second monitor to the right keeps the screen wide.
  EXPECT_EQ(ScreenToHold({{0, 0, 640, 480}, {1024, 0, 1280, 1024}}, min, max), (ScreenSize{2304, 1024}));
  // Smaller than the server allows: grown to its minimum.
  EXPECT_EQ(ScreenToHold({{0, 0, 32, 100}}, min, max), (ScreenSize{64, 100}));
  EXPECT_EQ(ScreenToHold({{0, 0, 4096, 4096}}, min, max), (ScreenSize{4096, 4096}));
  EXPECT_EQ(ScreenToHold({{0, 0, 4097, 480}}, min, max), std::nullopt);
  EXPECT_EQ(ScreenToHold({{100, 4000, 640, 480}}, min, max), std::nullopt);
}

TEST(ScreenGeometryTest, MillimetresKeepThePixelDensity) {
  EXPECT_EQ(win32::display::ScaledMillimetres(640, 1024, 271), 169);
  EXPECT_EQ(win32::display::ScaledMillimetres(1920, 1920, 508), 508);
  // Unknown physical size: 96 pixels per inch.
  EXPECT_EQ(win32::display::ScaledMillimetres(960, 1024, 0), 254);
  EXPECT_EQ(win32::display::ScaledMillimetres(960, 0, 300), 254);
}

}  // namespace
