// Whether Qt runs under a window manager: platforms without one (offscreen, minimal) have no
// stacking order or user resizing, and refuse such requests noisily.
#pragma once

namespace win32::user32 {

bool HasWindowManager();

// Whether Qt runs as a native Wayland client (not through XWayland).
bool OnWayland();

}  // namespace win32::user32
