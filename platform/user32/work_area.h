// The screen as windows see it: the whole primary screen, and the work area (the part of a
// screen that windows may cover: the screen less the desktop's panels), in screen coordinates.
#pragma once

#include <QRect>

class QWidget;

namespace win32::user32 {

// The work area of the screen that shows `near`, else of the primary screen; without Qt's
// screens, the whole screen of the current mode.
QRect WorkArea(const QWidget* near = nullptr);

// The primary screen in the display mode in force for this program, which may be emulated.
QRect ScreenArea();

}  // namespace win32::user32
