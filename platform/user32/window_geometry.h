// The owner of a window's geometry: its rectangle, client area and menu bar, the window
// manager's decoration around it, and the rectangle a maximised window goes back to. Every
// change goes through here, whoever asks: the program, or the window manager through Qt.
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

// Tells the window's procedure of a change with WM_WINDOWPOSCHANGED, as `delivery` says.
void TellPositionChanged(HWND hwnd, const WINDOWPOS& pos, Delivery delivery);

// Gives the window a new `inner` rectangle (see Window), resizes its pixel buffer,
// invalidates what the change uncovers, and tells its procedure. `pushToQt`: move the Qt
// widget as well (not when Qt reported the change itself).
void ChangeGeometry(HWND hwnd, QRect newInner, UINT swpFlags, Delivery delivery, bool pushToQt);

// Sets the model's menu bar height from the attached menu bar at the window's width.
void UpdateMenuBarHeight(Window& w);

// Applies the window's geometry to its Qt widgets: the menu bar and client area inside at once,
// a top-level widget through RequestWindowManagerSync.
void PushGeometryToQt(Window& w);

// The window manager hears of a top-level window's states, size constraints and place once
// the program has made its changes: from the thread's message loop, next time it runs (at
// once for a window not shown yet, which the window manager has no part in). So it never has
// to follow the steps on the way (a window that loses its caption, moves, then covers the
// screen) and answer each. A widget is left where the window manager holds it (maximised,
// minimised, full screen).
void RequestWindowManagerSync(Window& w);

// The decoration of a new top-level window, before it is shown: what the window manager says
// it will draw, else what it drew around the windows before. The window rectangle becomes
// `outer`.
void SetUpFrame(Window& w, const QRect& outer);

// Applies a changed WS_CAPTION to the window manager's decoration: the window rectangle
// stays and the client area grows or shrinks, as on Windows.
void ApplyFrameStyle(HWND hwnd);

// Remembers the window's present place as the one it is restored to.
void KeepNormalGeometry(Window& w);

// The window manager holds the window now: a request of ours on its way no longer counts.
void ForgetRequests(Window& w);

// The window manager is asked to place the window where its geometry says (`asked`; the sync
// does it), or is about to let it go and put it back itself: what it reports meanwhile is held
// back until it has had its time. Then, if it has not put the window where it was asked, it
// is asked once more before its word is taken; put back by itself, its word is taken at once.
void AwaitWindowManager(Window& w, bool asked);

}  // namespace win32::user32
