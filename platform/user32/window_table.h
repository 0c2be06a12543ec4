// The table of windows behind the HWND handles. Handles are never reused, so a stale handle
// is refused instead of reaching another window.
//
// A Window is created, changed and destroyed only on the thread that owns it; other
// threads (an audio thread posting a notification) only look up its queue.
#pragma once

#include <memory>
#include <vector>

#include "platform/user32/window.h"

namespace win32::user32 {

// Adds a window and gives it its handle.
Window& AddWindow(std::unique_ptr<Window> window);

// Removes the window; its handle becomes invalid.
void RemoveWindow(HWND hwnd);

// The window of this handle, or null. The pointer stays valid until the window is
// destroyed: look the handle up again after anything that can call a window procedure.
Window* LookupWindow(HWND hwnd);

// Like LookupWindow, and sets ERROR_INVALID_WINDOW_HANDLE when there is no such window.
Window* WindowOrError(HWND hwnd);

// The queue of the thread that owns the window; usable from any thread. Null, with
// ERROR_INVALID_WINDOW_HANDLE set, when there is no such window.
std::shared_ptr<ThreadQueue> QueueOfWindow(HWND hwnd);

// Every window, in creation order.
std::vector<HWND> AllWindows();

// The top-level window that contains hwnd (hwnd itself for a top-level window).
HWND TopLevelOf(HWND hwnd);

// True when `child` is a descendant of `parent` (not parent itself).
bool IsDescendant(HWND parent, HWND child);

// True when the window and all its parents are visible (and not being destroyed).
bool IsShowing(HWND hwnd);

}  // namespace win32::user32
