#include "platform/user32/qt/window_states.h"

#include <QTimer>
#include <QWidget>

#include "platform/user32/qt/window_manager.h"
#include "platform/user32/qt/x11_window_manager.h"
#include "platform/user32/system_events.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

// How long the window manager is given to take the states asked of it. Under load it may
// take its time.
constexpr int kStatePatienceMs = 3000;

// The window manager has had its time: its present word counts.
void Verdict(HWND hwnd, unsigned generation) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->stateGeneration != generation || !w->askedStates) return;
  w->askedStates.reset();
  HeldStates now = w->reportedStates;
  if (auto told = x11::StatesOf(w->widget)) now = *told;
  NoteSystemWindowState(hwnd, now.maximized, now.minimized, now.fullScreen);
}

void Await(Window& w, HeldStates wanted) {
  if (wanted == w.reportedStates) {
    w.askedStates.reset();
    return;
  }
  w.askedStates = wanted;
  HWND hwnd = w.handle;
  unsigned generation = ++w.stateGeneration;
  QTimer::singleShot(kStatePatienceMs, w.widget.data(), [hwnd, generation] { Verdict(hwnd, generation); });
}

}  // namespace

void TellStates(Window& w) {
  if (!w.widget || w.IsChild()) return;
  // Qt's platforms without a window manager would carry out "full screen" by resizing the
  // widget themselves.
  bool fullScreen = w.fullScreen && HasWindowManager();
  constexpr Qt::WindowStates kHeld = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;
  Qt::WindowStates states = w.widget->windowState() & ~kHeld;
  if (w.minimized) states |= Qt::WindowMinimized;
  if (w.maximized) states |= Qt::WindowMaximized;
  if (fullScreen) states |= Qt::WindowFullScreen;
  if (x11::WatchesWindowManager() && w.widget->isVisible()) Await(w, {w.maximized, w.minimized, fullScreen});
  if (states != w.widget->windowState()) w.widget->setWindowState(states);
  // Qt asks only for changes of the states it set itself: a window that the user maximised
  // would stay so when the program asks for a normal one.
  if (!w.minimized) x11::RequestStates(w.widget, w.maximized, fullScreen);
}

}  // namespace win32::user32
