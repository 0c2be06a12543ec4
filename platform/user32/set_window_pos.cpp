// SetWindowPos and MoveWindow: moving and sizing a window, and in the same call showing,
// hiding, stacking and activating it.
#include <QWidget>

#include "platform/user32/qt/window_manager.h"
#include "platform/user32/user32.h"
#include "platform/user32/window_geometry.h"
#include "platform/user32/window_placement.h"
#include "platform/user32/window_table.h"

using namespace win32::user32;

BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = WindowOrError(hwnd);
  if (!w) return FALSE;
  if (flags & SWP_FRAMECHANGED) {
    ApplyFrameStyle(hwnd);
    w = LookupWindow(hwnd);
    if (!w) return FALSE;
  }
  QRect outer = w->WindowRect();
  QPoint position = (flags & SWP_NOMOVE) ? outer.topLeft() : QPoint(x, y);
  QSize size = (flags & SWP_NOSIZE) ? outer.size() : QSize(std::max(cx, 0), std::max(cy, 0));
  if (!(flags & SWP_NOMOVE)) w->placedBySystem = false;
  FollowProgramPlacement(hwnd, QRect(position, size));
  ChangeGeometry(hwnd, QRect(position, size).marginsRemoved(w->frame), flags, Delivery::Now, false);
  // Whether the window manager holds it full screen depends on the new rectangle; then it goes
  // there (or is held).
  UpdateFullScreen(hwnd);
  if (Window* moved = LookupWindow(hwnd)) PushGeometryToQt(*moved);

  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  w = LookupWindow(hwnd);
  if (!w) return TRUE;
  if (!(flags & SWP_NOZORDER) && w->widget && HasWindowManager()) {
    if (insertAfter == HWND_BOTTOM) {
      w->widget->lower();
    } else {
      w->widget->raise();
    }
  }
  if (!(flags & SWP_NOACTIVATE) && !w->IsChild() && w->IsVisible() && GetActiveWindow() != hwnd) {
    SetActiveWindow(hwnd);
  }
  return TRUE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}
