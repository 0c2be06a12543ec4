// The state behind EnumDisplaySettingsA and ChangeDisplaySettingsA: the listed modes, the
// emulated depth, and the desktop's configuration from before this program changed it.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/user32/display/current_mode.h"
#include "platform/user32/display/display_backend.h"
#include "platform/user32/display/mode_list.h"
#include "platform/win32.h"

namespace win32::display {

// Each public member takes the object's lock: gdi32 may ask for the current mode from any
// thread.
class DisplaySettings {
 public:
  DisplaySettings(std::unique_ptr<DisplayBackend> backend, GuardLauncher launcher);

  // EnumDisplaySettingsA on the primary display. Index 0 reads the modes afresh; later
  // indexes read the list that index 0 made.
  bool Enumerate(DWORD index, DEVMODEA& record);
  // ChangeDisplaySettingsA; a null record goes back to the desktop's own configuration.
  LONG Change(const DEVMODEA* record, DWORD flags);
  ScreenMode Current();

 private:
  struct Desktop {
    std::string snapshot;
    HardwareMode mode;
  };

  ListedMode CurrentListed();
  LONG SwitchHardware(const HardwareMode& mode);
  LONG RestoreDesktop();
  // Keeps the guard in step with whether the screen is away from the desktop's mode.
  void UpdateGuard();

  std::mutex mutex_;
  std::unique_ptr<DisplayBackend> backend_;
  GuardLauncher launchGuard_;
  std::unique_ptr<RestoreGuard> guard_;
  std::vector<ListedMode> listed_;
  bool listRead_ = false;
  std::optional<int> emulatedBits_;  // a depth other than the screen's own, in force
  std::optional<Desktop> desktop_;   // recorded on the first real switch
};

// The process's settings, built on the system's screen on first use.
DisplaySettings& TheDisplaySettings();

// The screen of this process: the X server through XRandR, or the assumed screen when
// there is none (system_backend.cpp).
std::unique_ptr<DisplayBackend> SystemBackend();
GuardLauncher SystemGuardLauncher();

}  // namespace win32::display
