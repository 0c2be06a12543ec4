// What the display settings need from a screen: its modes, the one in force, and a way to
// switch and to put a saved configuration back. The X server is one such screen
// (XRandR); the assumed screen of a display-less run is another; tests script their own.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace win32::display {

// One size and refresh rate the primary output can be driven at. Colour depth is not part
// of it: the screen keeps its own depth and other depths are emulated above this level.
struct HardwareMode {
  int width = 0;
  int height = 0;
  int refreshHz = 0;  // rounded to whole hertz; 0 when the hardware does not say
  bool interlaced = false;

  friend bool operator==(const HardwareMode&, const HardwareMode&) = default;
};

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;

  // Every mode of the primary output, each once, in an order that does not change while
  // the hardware does not.
  virtual std::vector<HardwareMode> Modes() = 0;
  // The mode in force. Called often (GetDeviceCaps): must be cheap.
  virtual HardwareMode Current() = 0;
  // The screen's own depth as Windows counts it: 32 for a 24-bit-deep X screen.
  virtual int NativeBitsPerPixel() = 0;

  // Whether Apply(mode) would be accepted (a listed mode may still exceed a limit such as
  // the largest screen the server allows).
  virtual bool CanApply(const HardwareMode& mode) = 0;
  // Switches the primary output to `mode`; false when nothing was changed.
  virtual bool Apply(const HardwareMode& mode) = 0;

  // The configuration in force, as text that Restore() (here or in another process of the
  // same user on the same display) puts back exactly.
  virtual std::string Snapshot() = 0;
  virtual bool Restore(const std::string& snapshot) = 0;
};

// Puts the desktop's configuration back if the program dies while the screen is switched.
class RestoreGuard {
 public:
  virtual ~RestoreGuard() = default;
  // Armed: the screen is not in the desktop's configuration, so the guard must restore it
  // should the program end now. Disarmed: it must leave the screen alone.
  virtual void SetArmed(bool armed) = 0;
};

// Starts a guard that holds `snapshot`, armed. Null when none could be started.
using GuardLauncher = std::function<std::unique_ptr<RestoreGuard>(const std::string& snapshot)>;

// Replaces the screen behind EnumDisplaySettingsA, ChangeDisplaySettingsA and
// CurrentScreenMode() and forgets every earlier change and cached mode list. For tests;
// the program itself uses the system's screen, chosen on first use.
void UseDisplayBackend(std::unique_ptr<DisplayBackend> backend, GuardLauncher launcher = {});

}  // namespace win32::display
