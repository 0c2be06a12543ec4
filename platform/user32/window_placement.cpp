#include "platform/user32/window_placement.h"

#include <QWidget>

#include "platform/user32/display/current_mode.h"
#include "platform/user32/frame_metrics.h"
#include "platform/user32/message_queue.h"
#include "platform/user32/qt/event_pump.h"
#include "platform/user32/system_events.h"
#include "platform/user32/window_geometry.h"
#include "platform/user32/window_table.h"
#include "platform/user32/work_area.h"

namespace win32::user32 {
namespace {

void SetStateStyles(Window& w) {
  w.style =
      (w.style & ~(WS_MAXIMIZE | WS_MINIMIZE)) | (w.maximized ? WS_MAXIMIZE : 0) | (w.minimized ? WS_MINIMIZE : 0);
}

void PostStateChange(Window& w) {
  QRect outer = w.WindowRect();
  WINDOWPOS pos{w.handle,
                nullptr,
                outer.x(),
                outer.y(),
                outer.width(),
                outer.height(),
                SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | kNoClientMove | SWP_STATECHANGED};
  TellPositionChanged(w.handle, pos, Delivery::Queued);
}

// The window manager no longer holds the window: it goes back where the program has put it by
// the time the program's present message is handled (a program that leaves full screen
// usually places the window next), whatever the window manager restores on its own.
void LetGo(Window& w) {
  AwaitWindowManager(w, /*asked=*/false);
  RequestWindowManagerSync(w);
}

bool CoversScreen(const Window& w) {
  return !w.IsChild() && !HasDecoration(w.style) && !w.minimized && w.WindowRect().contains(ScreenArea());
}

}  // namespace

void SetShowState(HWND hwnd, bool maximize, bool minimize) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->IsChild() || (w->maximized == maximize && w->minimized == minimize)) return;
  QRect target = w->inner;
  if (maximize) {
    KeepNormalGeometry(*w);
    target = WorkArea(w->widget.data()).marginsRemoved(w->frame);
  } else if (!minimize && w->maximized && w->normalInner.isValid()) {
    target = w->normalInner;
  }
  w->maximized = maximize;
  w->minimized = minimize;
  w->maximizedOuter = QRect();
  SetStateStyles(*w);
  ChangeGeometry(hwnd, target, SWP_NOZORDER | SWP_NOACTIVATE | SWP_STATECHANGED, Delivery::Now, !minimize);
  if (Window* again = LookupWindow(hwnd)) RequestWindowManagerSync(*again);
}

void FollowProgramPlacement(HWND hwnd, const QRect& outer) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->IsChild() || w->minimized) return;
  if (w->maximized && outer != w->WindowRect()) {
    w->maximizedOuter = w->WindowRect();
    w->maximized = false;
  } else if (!w->maximized && !w->maximizedOuter.isNull() && outer == w->maximizedOuter) {
    w->maximized = true;
  } else {
    return;
  }
  SetStateStyles(*w);
  if (w->maximized) w->maximizedOuter = QRect();
  RequestWindowManagerSync(*w);
}

void UpdateFullScreen(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->IsChild() || w->destroying) return;
  bool covers = CoversScreen(*w);
  if (covers == w->fullScreen) return;
  w->fullScreen = covers;
  // From now on the window manager's geometry counts, not a request of ours on its way.
  if (covers) {
    ForgetRequests(*w);
    RequestWindowManagerSync(*w);
  } else {
    LetGo(*w);
  }
}

namespace {

void ChangeToSystemStates(HWND hwnd, HeldStates states) {
  Window* w = LookupWindow(hwnd);
  if (!w) return;
  auto [maximized, minimized, fullScreen] = states;
  // The window manager (or the user through it) took the window out of full screen, or into
  // it: the program's rule is not forced on it again until the window changes.
  bool wasHeld = w->HeldByWindowManager();
  w->fullScreen = fullScreen;
  if (fullScreen || maximized || minimized) ForgetRequests(*w);
  if (w->maximized == maximized && w->minimized == minimized) {
    if (w->HeldByWindowManager() != wasHeld) RequestWindowManagerSync(*w);
    return;
  }
  if (maximized && !w->maximized && !w->minimized) KeepNormalGeometry(*w);
  bool restored = w->maximized && !maximized && !minimized;
  w->maximized = maximized;
  w->minimized = minimized;
  SetStateStyles(*w);
  RequestWindowManagerSync(*w);
  if (restored && w->normalInner.isValid() && w->normalInner != w->inner) {
    // Back exactly where it was, whatever the window manager restores on its own.
    ChangeGeometry(hwnd, w->normalInner, SWP_NOZORDER | SWP_NOACTIVATE | SWP_STATECHANGED, Delivery::Queued, true);
    return;
  }
  // The new size, if any, comes with Qt's resize event; the state change itself is told here.
  PostStateChange(*w);
}

void TakeSystemStates(HWND hwnd, HeldStates states) {
  ChangeToSystemStates(hwnd, states);
  // A window manager that takes hold of the window may have resized it already, while a
  // request of ours was on its way and its report was held back (i3 tiles a window, then says
  // it is maximised): the widget has its latest word, which counts now.
  Window* w = LookupWindow(hwnd);
  if (w && w->HeldByWindowManager() && !w->minimized && w->widget && w->widget->isVisible()) {
    NoteSystemGeometry(hwnd, w->widget->geometry());
  }
}

}  // namespace

void NoteSystemWindowState(HWND hwnd, bool maximized, bool minimized, bool fullScreen) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->IsChild() || w->destroying) return;
  HeldStates report{maximized, minimized, fullScreen};
  w->reportedStates = report;
  // The window manager has yet to hear of the program's latest changes: what it says answers
  // older ones.
  if (w->syncPosted) return;
  if (w->askedStates) {
    if (report != *w->askedStates) return;
    w->askedStates.reset();
  }
  TakeSystemStates(hwnd, report);
}

void NoteDisplayChange() {
  if (!qt::RunsQt()) return;
  ThreadQueue& queue = ThreadQueue::Current();
  std::vector<HWND> topLevels;
  for (HWND hwnd : AllWindows()) {
    Window* w = LookupWindow(hwnd);
    if (w && !w->IsChild() && !w->destroying && w->queue.get() == &queue) topLevels.push_back(hwnd);
  }
  display::ScreenMode mode = display::CurrentScreenMode();
  for (HWND hwnd : topLevels) UpdateFullScreen(hwnd);
  for (HWND hwnd : topLevels) {
    if (LookupWindow(hwnd)) {
      SendMessageA(hwnd, WM_DISPLAYCHANGE, static_cast<WPARAM>(mode.bitsPerPixel),
                   MAKELPARAM(static_cast<WORD>(mode.width), static_cast<WORD>(mode.height)));
    }
  }
}

}  // namespace win32::user32
