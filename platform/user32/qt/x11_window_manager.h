// What an X11 window manager says about a top-level window and is asked about it, in its own
// terms (EWMH): the frame it draws (_NET_FRAME_EXTENTS) and the states it holds the window in
// (_NET_WM_STATE). Everything here does nothing, or answers nothing, when Qt does not run on
// X11 under a window manager that says: such a window manager's frame counts as none.
#pragma once

#include <QMargins>
#include <chrono>
#include <optional>

#include "platform/user32/held_states.h"

class QWidget;

namespace win32::user32::x11 {

// Asks the window manager what frame it will draw around the top-level widget's window, which
// is not mapped yet (_NET_REQUEST_FRAME_EXTENTS), and waits up to `patience` for the answer.
std::optional<QMargins> RequestFrameExtents(const QWidget* topLevel, std::chrono::milliseconds patience);

// Asks the window manager to hold the shown top-level widget's window maximised or not, and
// full screen or not. (Qt asks only for changes of the states it set itself, so a window that
// the user maximised would stay so when the program asks for a normal one.)
void RequestStates(QWidget* topLevel, bool maximized, bool fullScreen);

// From now on, the window manager's changes of a window's frame reach NoteFrameExtents, and
// its changes of the states it holds a window in reach NoteSystemWindowState
// (system_events.h), both from the window manager's own word.
void WatchWindowManager();
// Whether that is so (Qt runs on X11 under a window manager that says so): else the states
// come from Qt's events.
bool WatchesWindowManager();

// What the window manager says now of the states it holds the top-level widget's window in
// (EWMH _NET_WM_STATE).
std::optional<HeldStates> StatesOf(const QWidget* topLevel);

// True when the window manager keeps to a window's resize steps even when it maximises the
// window, so that steps keep it from maximising at all (KWin does; mutter, openbox, Xfwm and
// the tiling managers do not).
bool ResizeStepsHoldWhenMaximised();

}  // namespace win32::user32::x11
