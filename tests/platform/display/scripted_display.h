// A screen for tests: its modes are a script, and every switch and restore is recorded.
// Installed with UseScriptedDisplay(), it stands behind EnumDisplaySettingsA,
// ChangeDisplaySettingsA and the current mode that GetDeviceCaps reports.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/user32/display/display_backend.h"

namespace porongo::testing {

using win32::display::HardwareMode;

struct ScriptedScreen {
  std::vector<HardwareMode> modes;
  HardwareMode current;
  int nativeBits = 32;
  std::vector<HardwareMode> refused;  // modes the screen lists but will not take
  bool applyFails = false;            // the next switches fail without changing anything

  std::vector<HardwareMode> applied;   // every switch, in order
  std::vector<HardwareMode> restored;  // every restore of a snapshot, by the mode it held
  std::vector<HardwareMode> snapshots;
};

struct ScriptedGuards {
  int launched = 0;
  std::vector<bool> states;  // armed or not, in the order the guard was told
  bool Armed() const { return !states.empty() && states.back(); }
};

// Installs a screen with these modes, `current` in force. The returned objects stay
// connected to the platform until the next installation.
std::shared_ptr<ScriptedScreen> UseScriptedDisplay(std::vector<HardwareMode> modes, HardwareMode current,
                                                   std::shared_ptr<ScriptedGuards> guards = nullptr);

}  // namespace porongo::testing
