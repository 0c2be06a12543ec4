// Moving and sizing windows, the way SetWindowPos does it, whoever asks: the program, or the
// window manager through Qt.
#pragma once

#include <QRect>

#include "platform/user32/window.h"

namespace win32::user32 {

// Now: the procedure hears WM_WINDOWPOSCHANGING/CHANGED before the call returns (the
// program asked). Queued: it hears WM_WINDOWPOSCHANGED from the message loop (the window
// system changed the window while Qt was processing its events).
enum class Delivery { Now, Queued };

// WINDOWPOS flags of WM_WINDOWPOSCHANGED (as Windows' own): the client area kept its size,
// or its place. DefWindowProcA sends WM_SIZE and WM_MOVE from them.
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

// Gives the window a new `inner` rectangle (see Window), resizes its pixel buffer,
// invalidates what the change uncovers, and tells its procedure. `pushToQt`: move the Qt
// widget as well (not when Qt reported the change itself).
void ChangeGeometry(HWND hwnd, QRect newInner, UINT swpFlags, Delivery delivery, bool pushToQt);

// Sets the model's menu bar height from the attached menu bar at the window's width.
void UpdateMenuBarHeight(Window& w);

// Applies the window's geometry to its Qt widget.
void PushGeometryToQt(Window& w);

// Applies a changed WS_CAPTION to the window manager's decoration: the window rectangle
// stays and the client area grows or shrinks, as on Windows.
void ApplyFrameStyle(HWND hwnd);

// Re-reads the decoration margins that the window manager gives a top-level window.
void RefreshFrame(Window& w);

}  // namespace win32::user32
