// The Qt side of a window: building its widgets from its style and class, keeping them in
// step with the window's state, and tearing them down.
#pragma once

#include "platform/user32/window.h"

namespace win32::user32 {

// Builds the widgets of a new window (hidden). The window has its handle, style, class and
// parent already, and a child window its geometry; a top-level window's geometry is set up
// once its native window exists (SetUpFrame).
void BuildWidgets(Window& w);

// Deletes the widgets of a window that is being destroyed.
void DestroyWidgets(Window& w);

// The window manager's decoration and buttons, from the window's style (the sync with the window
// manager applies them, window_geometry.h).
void ApplyWindowFlags(Window& w);

// A window without WS_THICKFRAME keeps its size against the user's dragging (one with a
// maximise box can still be maximised and made full screen). These tell the window manager so,
// and take the constraint off around the program's own changes of size and while the window
// manager holds the window; call Release with the window's new geometry in place, before the
// widget is resized.
void ApplySizeConstraints(Window& w);
void ReleaseSizeConstraints(Window& w);

// Shows whether the window takes input. A disabled top-level window (the owner of a
// modal dialog) looks as before, menu bar included, as on Windows; it only stops reacting.
void ShowEnabled(Window& w);

// The caption (from w.text) and the icons (from the class) of a top-level window.
void ShowTitle(Window& w);
void ShowIcons(Window& w);

// Deletes the widgets and the Qt state of every window (the end of main(): Qt is about
// to go).
void DestroyAllWidgets();

}  // namespace win32::user32
