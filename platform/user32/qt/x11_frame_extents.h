// The frame that an X11 window manager draws around a top-level window, as it says itself
// (_NET_FRAME_EXTENTS). Everything here does nothing, or answers nothing, when Qt does not
// run on X11 under a window manager that says: such a window manager's frame counts as none.
#pragma once

#include <QMargins>
#include <chrono>
#include <optional>

class QWidget;

namespace win32::user32::x11 {

// Asks the window manager what frame it will draw around the top-level widget's window, which
// is not mapped yet (_NET_REQUEST_FRAME_EXTENTS), and waits up to `patience` for the answer.
std::optional<QMargins> RequestFrameExtents(const QWidget* topLevel, std::chrono::milliseconds patience);

// From now on, the window manager's changes of a window's frame reach NoteFrameExtents
// (system_events.h).
void WatchFrameExtents();

}  // namespace win32::user32::x11
