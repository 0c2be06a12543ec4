// Alt or F10 pressed and released with no other key between, while the window kept the
// keyboard, opens the menu bar: DefWindowProcA does it on the release, as on Windows.
//
// The gesture is recognised when the keys happen (a focus change in between is seen then)
// and travels with the release message through the queue.
#pragma once

#include "platform/user32/user32.h"

namespace win32::user32 {

// A key went down or up on a window; true when this release completes the gesture.
bool NoteMenuKey(int vk, bool press, bool autoRepeat);

// The window lost the keyboard (Alt+Tab to another window).
void ForgetMenuKey();

// The thread read a release that completes the gesture.
void RememberMenuGesture(const MSG& release);

// True (once) when DefWindowProcA's WM_SYSKEYUP is that release.
bool TakeMenuGesture(HWND hwnd, WPARAM key, LPARAM lParam);

}  // namespace win32::user32
