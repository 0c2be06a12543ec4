// Whether Qt runs under a window manager: platforms without one (offscreen, minimal) have no
// stacking order or user resizing, and refuse such requests noisily.
#pragma once

namespace win32::user32 {

bool HasWindowManager();

// Whether Qt runs as a native Wayland client (not through XWayland).
bool OnWayland();

// Whether a window manager makes windows full screen and gives them back (a Wayland
// compositor, an X11 window manager that says it follows EWMH); on an X server without one
// the program does it itself.
bool WindowManagerTakesFullScreen();

}  // namespace win32::user32
