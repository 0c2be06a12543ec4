// Visibility, enabling, focus and activation, and the window's text.
#include "platform/user32/window_state.h"

#include <QWidget>

#include "platform/kernel32/kernel32.h"
#include "platform/user32/painting.h"
#include "platform/user32/qt/widget_binding.h"
#include "platform/user32/qt/window_manager.h"
#include "platform/user32/qt/window_widgets.h"
#include "platform/user32/text_buffer.h"
#include "platform/user32/window_geometry.h"
#include "platform/user32/window_placement.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

thread_local HWND focusWindow = nullptr;
thread_local HWND activeWindow = nullptr;

HWND ValidOrNull(HWND hwnd) { return LookupWindow(hwnd) ? hwnd : nullptr; }

void FocusQtWidget(HWND hwnd) {
  if (QWidget* widget = InputWidgetOf(hwnd)) {
    if (!widget->hasFocus()) widget->setFocus(Qt::OtherFocusReason);
  }
}

}  // namespace

bool IsInputEnabled(HWND hwnd) {
  for (Window* w = LookupWindow(hwnd); w; w = w->IsChild() ? LookupWindow(w->parent) : nullptr) {
    if (!w->enabled) return false;
  }
  return hwnd != nullptr;
}

void RestoreFocus(HWND topLevel) {
  Window* top = LookupWindow(topLevel);
  if (!top) return;
  HWND target = topLevel;
  if (top->lastFocus && IsDescendant(topLevel, top->lastFocus) && IsInputEnabled(top->lastFocus)) {
    target = top->lastFocus;
  }
  if (focusWindow && (focusWindow == target || IsDescendant(topLevel, focusWindow))) {
    FocusQtWidget(focusWindow);
    return;
  }
  SetFocus(target);
}

void DropFocusFrom(HWND hwnd) {
  if (focusWindow && (focusWindow == hwnd || IsDescendant(hwnd, focusWindow))) {
    HWND old = focusWindow;
    focusWindow = nullptr;
    if (LookupWindow(old)) SendMessageA(old, WM_KILLFOCUS, 0, 0);
  }
  if (activeWindow == hwnd) activeWindow = nullptr;
}

void NoteQtFocus(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  if (!w || hwnd == focusWindow || !IsInputEnabled(hwnd)) return;
  HWND old = ValidOrNull(focusWindow);
  focusWindow = hwnd;
  HWND top = TopLevelOf(hwnd);
  activeWindow = top;
  if (hwnd != top) {
    if (Window* t = LookupWindow(top)) t->lastFocus = hwnd;
  }
  // Qt changed the focus on its own (a click, an activation): the procedures hear of it
  // from the message loop.
  w->queue->PostCall([old, hwnd] {
    if (old && LookupWindow(old)) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (focusWindow == hwnd && LookupWindow(hwnd)) SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  });
}

}  // namespace win32::user32

using namespace win32::user32;

BOOL WINAPI IsWindow(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  return w && !w->destroying ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) { return IsShowing(hwnd) ? TRUE : FALSE; }

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  return w && w->enabled ? TRUE : FALSE;
}

BOOL WINAPI IsZoomed(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  return w && w->maximized ? TRUE : FALSE;
}

BOOL WINAPI IsIconic(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  return w && w->minimized ? TRUE : FALSE;
}

HWND WINAPI GetParent(HWND hwnd) {
  Window* w = WindowOrError(hwnd);
  if (!w) return nullptr;
  return w->IsChild() ? w->parent : w->owner;
}

BOOL WINAPI IsChild(HWND parent, HWND hwnd) { return IsDescendant(parent, hwnd) ? TRUE : FALSE; }

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = WindowOrError(hwnd);
  if (!w) return FALSE;
  BOOL wasDisabled = w->enabled ? FALSE : TRUE;
  bool now = enable != FALSE;
  if (w->enabled == now) return wasDisabled;
  w->enabled = now;
  w->style = now ? (w->style & ~WS_DISABLED) : (w->style | WS_DISABLED);
  ShowEnabled(*w);
  if (!now) DropFocusFrom(hwnd);
  SendMessageA(hwnd, WM_ENABLE, now ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL WINAPI ShowWindow(HWND hwnd, int command) {
  Window* w = WindowOrError(hwnd);
  if (!w) return FALSE;
  BOOL wasVisible = w->IsVisible() ? TRUE : FALSE;
  bool show = command != SW_HIDE;
  bool activate = show && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE &&
                  command != SW_MINIMIZE;

  if (show != (wasVisible != FALSE)) {
    SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    w = LookupWindow(hwnd);
    if (!w) return wasVisible;
    w->style = show ? (w->style | WS_VISIBLE) : (w->style & ~WS_VISIBLE);
    if (!show) {
      DropFocusFrom(hwnd);
      if (w->widget) w->widget->hide();
      return wasVisible;
    }
    if (w->widget) {
      if (!w->IsChild()) {
        // A window that covers the screen is full screen from the moment it is mapped.
        UpdateFullScreen(hwnd);
        PushGeometryToQt(*w);
      }
      w->widget->show();
    }
    // A window that appears is painted whole.
    InvalidateClient(*w, QRect(QPoint(0, 0), w->ClientSize()), true);
  } else if (!show) {
    return wasVisible;
  }

  switch (command) {
    case SW_MAXIMIZE:
      SetShowState(hwnd, true, false);
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      SetShowState(hwnd, false, true);
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      SetShowState(hwnd, false, false);
      break;
    default:
      break;
  }
  w = LookupWindow(hwnd);
  if (w && activate && !w->IsChild()) SetActiveWindow(hwnd);
  return wasVisible;
}

HWND WINAPI SetFocus(HWND hwnd) {
  HWND old = ValidOrNull(focusWindow);
  if (!hwnd) {
    focusWindow = nullptr;
    if (old) SendMessageA(old, WM_KILLFOCUS, 0, 0);
    return old;
  }
  Window* w = WindowOrError(hwnd);
  if (!w) return nullptr;
  if (!IsInputEnabled(hwnd) || w->destroying) return nullptr;
  if (hwnd == old) {
    FocusQtWidget(hwnd);
    return old;
  }
  HWND top = TopLevelOf(hwnd);
  if (top != activeWindow) {
    activeWindow = top;
    if (Window* t = LookupWindow(top); t && t->widget && t->IsVisible()) t->widget->activateWindow();
  }
  if (Window* t = LookupWindow(top); t && hwnd != top) t->lastFocus = hwnd;
  focusWindow = hwnd;
  if (old) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (focusWindow == hwnd && LookupWindow(hwnd)) {
    FocusQtWidget(hwnd);
    SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  }
  return old;
}

HWND WINAPI GetFocus(void) { return ValidOrNull(focusWindow); }

HWND WINAPI GetActiveWindow(void) { return ValidOrNull(activeWindow); }

HWND WINAPI SetActiveWindow(HWND hwnd) {
  HWND old = ValidOrNull(activeWindow);
  Window* w = WindowOrError(hwnd);
  if (!w) return nullptr;
  hwnd = TopLevelOf(hwnd);
  w = LookupWindow(hwnd);
  activeWindow = hwnd;
  if (w->widget && w->IsVisible()) {
    if (HasWindowManager()) w->widget->raise();
    w->widget->activateWindow();
  }
  if (IsInputEnabled(hwnd)) RestoreFocus(hwnd);
  return old;
}

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  SetActiveWindow(hwnd);
  return TRUE;
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  if (!WindowOrError(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int WINAPI GetWindowTextLengthA(HWND hwnd) {
  if (!WindowOrError(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!WindowOrError(hwnd)) return FALSE;
  return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int WINAPI GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
  Window* w = WindowOrError(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  return static_cast<int>(CopyText(w->windowClass->name, buffer, static_cast<std::size_t>(size)));
}
