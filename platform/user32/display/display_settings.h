// What stands behind EnumDisplaySettingsA and ChangeDisplaySettingsA on the primary display,
// and the mode that GetDeviceCaps, GetSystemMetrics and the work area report.
#pragma once

#include <memory>

#include "platform/user32/display/current_mode.h"
#include "platform/win32.h"

namespace win32::display {

// Each member may be called from any thread (gdi32 asks for the current mode).
class DisplaySettings {
 public:
  virtual ~DisplaySettings() = default;

  // EnumDisplaySettingsA on the primary display. Index 0 reads the modes afresh; later
  // indexes read the list that index 0 made.
  virtual bool Enumerate(DWORD index, DEVMODEA& record) = 0;
  // ChangeDisplaySettingsA; a null record goes back to the desktop's own mode.
  virtual LONG Change(const DEVMODEA* record, DWORD flags) = 0;
  // The mode in force for this program, and the desktop's own.
  virtual ScreenMode Current() = 0;
  virtual ScreenMode Desktop() = 0;
};

// The process's settings: emulated on the system's output, made on first use.
DisplaySettings& TheDisplaySettings();

// Replaces the process's settings and forgets every earlier change. For tests, which script
// the screen; the program itself uses the system's.
void UseDisplaySettings(std::unique_ptr<DisplaySettings> settings);

}  // namespace win32::display
