// Display settings for tests: the screen's modes are a script (several refresh rates of one
// size, modes the screen refuses), and every switch is recorded. Installed with
// UseScriptedDisplay(), they stand behind EnumDisplaySettingsA, ChangeDisplaySettingsA and
// the current mode that GetDeviceCaps reports, as Windows' settings would on a screen that
// really switches.
#pragma once

#include <memory>
#include <vector>

#include "platform/user32/display/mode_list.h"

namespace porongo::testing {

using win32::display::HardwareMode;

struct ScriptedScreen {
  std::vector<HardwareMode> modes;
  HardwareMode current;
  HardwareMode desktop;  // the mode in force when the script was installed
  int nativeBits = 32;
  std::vector<HardwareMode> refused;  // modes the screen lists but will not take
  std::vector<HardwareMode> applied;  // every switch to another mode, in order
};

// Installs a screen with these modes, `current` in force. The returned object stays
// connected to the platform until the next installation.
std::shared_ptr<ScriptedScreen> UseScriptedDisplay(std::vector<HardwareMode> modes, HardwareMode current);

}  // namespace porongo::testing
