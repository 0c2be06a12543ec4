// The screen of an X server: the primary output through RandR 1.3 or later.
#pragma once

#include <memory>
#include <string>

#include "platform/user32/display/display_backend.h"

namespace win32::display {

// Opens the X display `name` (null: $DISPLAY). Without RandR 1.3, or without a lit
// output, the screen's size and depth are its only mode. Null when the display cannot be
// opened.
std::unique_ptr<DisplayBackend> OpenXDisplayBackend(const char* name);

// Opens the display that `snapshot` (of an XRandR screen) was taken on and restores it
// there: what the restore guard does in its own process.
bool RestoreSnapshotOnItsDisplay(const std::string& snapshot);

}  // namespace win32::display
