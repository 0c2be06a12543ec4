// How the window manager holds a top-level window: maximised, minimised or full screen, and
// the way back. A top-level window without a caption that covers the whole screen is full
// screen to the window manager (_NET_WM_STATE_FULLSCREEN), as it is to Windows' shell: kept
// above panels and docks and given the keyboard; where the program's screen is an emulated one,
// its picture is shown scaled on the output (screen_view.h).
#pragma once

#include <QRect>

#include "platform/win32_types.h"

namespace win32::user32 {

// Maximises, minimises or restores a top-level window (ShowWindow's commands).
void SetShowState(HWND hwnd, bool maximize, bool minimize);

// The program moves or sizes a window to `outer`. Windows keeps WS_MAXIMIZE on a maximised
// window moved this way, but a window manager only lets the program place a window that it
// does not hold maximised: the window is a normal one until the program puts it back where it
// was maximised, where it is maximised again, with the same place to be restored to.
void FollowProgramPlacement(HWND hwnd, const QRect& outer);

// Sets or drops the window's full-screen state, after its rectangle or its style changed.
void UpdateFullScreen(HWND hwnd);

}  // namespace win32::user32
