// The desktop's keyboard repeat: how long a held key waits before it repeats, and how fast
// it repeats then.
#pragma once

#include <optional>

#include "platform/user32/gamepad/pad_keys.h"

namespace win32::user32::gamepad {

// The X server's settings where there is one (nothing when the player turned repeating
// off); otherwise Windows' defaults, a delay of 500 ms and about 30 repeats a second.
std::optional<RepeatTiming> DesktopKeyRepeat();

}  // namespace win32::user32::gamepad
