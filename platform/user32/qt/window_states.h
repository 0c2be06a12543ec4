// The states a top-level window is held in by the window manager (maximised, minimised, full
// screen), told to Qt and to the window manager.
#pragma once

#include "platform/user32/window.h"

namespace win32::user32 {

// Tells Qt and the window manager the states the window's model holds. Where the window
// manager's own word reaches NoteSystemWindowState (X11), the states asked of it are awaited:
// until it says it holds the window so, what it says otherwise is a step on the way, or the
// answer to an older request, and NoteSystemWindowState passes over it. After a while its word
// counts, whatever it is.
void TellStates(Window& w);

}  // namespace win32::user32
