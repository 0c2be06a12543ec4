#include "platform/user32/window_geometry.h"

#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/kernel32/kernel32.h"
#include "platform/user32/frame_metrics.h"
#include "platform/user32/painting.h"
#include "platform/user32/qt/frame_widget.h"
#include "platform/user32/qt/window_manager.h"
#include "platform/user32/qt/window_states.h"
#include "platform/user32/qt/window_widgets.h"
#include "platform/user32/qt/x11_window_manager.h"
#include "platform/user32/screen_view.h"
#include "platform/user32/system_events.h"
#include "platform/user32/window_table.h"
#include "platform/user32/work_area.h"

namespace win32::user32 {
namespace {

// How long a window manager is given to carry out a geometry request; what it reports
// meanwhile may be steps of its own on the way (or a late answer to an earlier request).
constexpr int kWindowManagerPatienceMs = 400;

// How long a new window waits for the window manager to say what frame it will draw.
constexpr std::chrono::milliseconds kFrameRequestPatience(250);

QRect Normalized(QRect r) { return QRect(r.topLeft(), QSize(std::max(0, r.width()), std::max(0, r.height()))); }

// The client area's origin on the screen.
QPoint ScreenOriginOfClient(const Window& w) {
  QPoint origin = w.ClientOrigin();
  for (const Window* p = w.IsChild() ? LookupWindow(w.parent) : nullptr; p;
       p = p->IsChild() ? LookupWindow(p->parent) : nullptr) {
    origin += p->ClientOrigin();
  }
  return origin;
}

RECT ToRect(QRect r) { return RECT{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

// Places the menu bar and the client area inside the top-level widget, where the window's
// geometry says: the same place as the widget's unless the window manager holds it elsewhere.
// A full-screen window shows the program's screen fitted into the widget, which the window
// manager has made as large as the output; a window made larger than that screen (a menu bar
// shown above a 640x480 client area) reaches past its edges, as it would on Windows.
void LayOutWidgets(Window& w) {
  auto* frame = qobject_cast<FrameWidget*>(w.widget.data());
  if (!frame || w.minimized) return;
  if (w.fullScreen) {
    ScreenView view = ScreenView::In(frame->rect());
    frame->LayOut(view.ToOutput(w.inner), static_cast<int>(std::lround(w.menuBarHeight * view.Scale())), view.Scale(),
                  view.Smooth(), view.ToOutput(ScreenArea()));
    return;
  }
  QPoint offset = ScreenView::OnDesktop().ToOutput(w.inner.topLeft()) - frame->geometry().topLeft();
  frame->LayOut(QRect(offset, w.inner.size()), w.menuBarHeight, 1, false, QRect());
}

// The window manager changed the window on its own, or answered a request in its own way.
void TakeSystemGeometry(HWND hwnd, QRect inner) {
  Window* w = LookupWindow(hwnd);
  if (!w) return;
  if (!w->HeldByWindowManager()) w->syncedInner = inner;
  // Full screen, the window keeps the place the program gave it on its screen, whatever the
  // size of the output that shows it.
  if (inner == w->inner || w->fullScreen) {
    LayOutWidgets(*w);
    return;
  }
  ChangeGeometry(hwnd, inner, SWP_NOZORDER | SWP_NOACTIVATE, Delivery::Queued, false);
  if (Window* again = LookupWindow(hwnd)) ApplySizeConstraints(*again);
}

// A maximised window's frame (often without borders) is no guide to a normal window's.
void RememberDecoration(Window& w) {
  if (w.frame.isNull() || w.maximized || w.minimized) return;
  w.normalDecoration = w.frame;
  NoteDecoration(w.frame);
}

// Hands the geometry to the top-level widget, with its size limits lifted meanwhile; what Qt
// reports of it on the way is our own echo. `sizeOnly`: a position would tell the window
// manager that the program chose it.
void SetWidgetGeometry(Window& w, const QRect& inner, bool sizeOnly = false) {
  w.pushingToQt = true;
  ReleaseSizeConstraints(w);
  if (sizeOnly) {
    w.widget->resize(inner.size());
  } else {
    w.widget->setGeometry(QRect(ScreenView::OnDesktop().ToOutput(inner.topLeft()), inner.size()));
  }
  ApplySizeConstraints(w);
  w.pushingToQt = false;
}

void ScheduleVerdict(Window& w);

// The window manager has had its time: if its last report is not the window's geometry, it
// is asked once more (its report may have been a late answer to something earlier), and then
// its word is taken.
void Verdict(HWND hwnd, unsigned generation) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->awaitGeneration != generation || !w->awaitedInner) return;
  if (!w->reportedInner || w->HeldByWindowManager()) {
    w->awaitedInner.reset();
    w->reportedInner.reset();
    return;
  }
  if (!w->insisted) {
    w->insisted = true;
    w->reportedInner.reset();
    SetWidgetGeometry(*w, *w->awaitedInner);
    ScheduleVerdict(*w);
    return;
  }
  QRect reported = *w->reportedInner;
  w->awaitedInner.reset();
  w->reportedInner.reset();
  TakeSystemGeometry(hwnd, reported);
}

void ScheduleVerdict(Window& w) {
  HWND hwnd = w.handle;
  unsigned generation = ++w.awaitGeneration;
  QTimer::singleShot(kWindowManagerPatienceMs, w.widget.data(), [hwnd, generation] { Verdict(hwnd, generation); });
}

// Tells the window manager the window's states, its size constraints and its place: the
// final ones of the program's changes, so that it never has to follow the steps on the way.
void SyncWithWindowManager(Window& w) {
  w.syncPosted = false;
  QWidget& widget = *w.widget;
  ApplyWindowFlags(w);
  if (w.HeldByWindowManager()) {
    // No constraint keeps a window manager from the size it holds the window at.
    ReleaseSizeConstraints(w);
    TellStates(w);
    // On an X server without a window manager, nobody else makes a window full screen.
    if (w.fullScreen && HasWindowManager() && !WindowManagerTakesFullScreen() && widget.screen()) {
      w.pushingToQt = true;
      widget.setGeometry(widget.screen()->geometry());
      w.pushingToQt = false;
    }
    w.heldAtSync = true;
  } else {
    TellStates(w);
    QRect placed(ScreenView::OnDesktop().ToOutput(w.inner.topLeft()), w.inner.size());
    bool letGo = std::exchange(w.heldAtSync, false);
    if (w.placedBySystem && !widget.isVisible()) {
      SetWidgetGeometry(w, w.inner, /*sizeOnly=*/true);
    } else if (letGo && w.inner == w.syncedInner && WindowManagerTakesFullScreen()) {
      // Back where it was when the window manager took it: the window manager puts it there
      // itself, where positions are its own (weston's X windows keep none).
      AwaitWindowManager(w, /*asked=*/false);
      ApplySizeConstraints(w);
    } else if (widget.geometry() != placed) {
      if (widget.isVisible()) AwaitWindowManager(w, /*asked=*/true);
      SetWidgetGeometry(w, w.inner);
    } else {
      ApplySizeConstraints(w);
    }
    w.syncedInner = w.inner;
  }
  LayOutWidgets(w);
}

}  // namespace

void TellPositionChanged(HWND hwnd, const WINDOWPOS& pos, Delivery delivery) {
  if (delivery == Delivery::Now) {
    WINDOWPOS copy = pos;
    SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&copy));
    return;
  }
  if (Window* w = LookupWindow(hwnd)) {
    w->queue->PostCall([pos]() mutable {
      if (LookupWindow(pos.hwnd)) SendMessageA(pos.hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    });
  }
}

void AwaitWindowManager(Window& w, bool asked) {
  if (!w.widget || w.IsChild() || !HasWindowManager()) return;
  w.awaitedInner = w.inner;
  w.reportedInner.reset();
  // Where the window manager puts the window back itself, its word is taken as it comes.
  w.insisted = !asked;
  ScheduleVerdict(w);
}

void ForgetRequests(Window& w) {
  w.awaitedInner.reset();
  w.reportedInner.reset();
}

void UpdateMenuBarHeight(Window& w) {
  auto* frame = qobject_cast<FrameWidget*>(w.widget.data());
  w.menuBarHeight = frame && w.menu ? frame->MenuBarHeightFor(w.inner.width()) : 0;
}

void KeepNormalGeometry(Window& w) {
  if (!w.HeldByWindowManager()) w.normalInner = w.inner;
}

void RequestWindowManagerSync(Window& w) {
  if (!w.widget || w.IsChild()) return;
  if (!w.widget->isVisible()) {
    SyncWithWindowManager(w);
    return;
  }
  if (w.syncPosted) return;
  w.syncPosted = true;
  w.queue->PostCall([hwnd = w.handle] {
    Window* again = LookupWindow(hwnd);
    if (again && again->widget && !again->destroying) SyncWithWindowManager(*again);
  });
}

void PushGeometryToQt(Window& w) {
  if (!w.widget) return;
  if (w.IsChild()) {
    w.widget->setGeometry(w.inner);
    return;
  }
  RequestWindowManagerSync(w);
  LayOutWidgets(w);
}

void ChangeGeometry(HWND hwnd, QRect newInner, UINT flags, Delivery delivery, bool pushToQt) {
  Window* w = LookupWindow(hwnd);
  if (!w) return;
  newInner = Normalized(newInner);
  if (delivery == Delivery::Now && !(flags & SWP_NOSENDCHANGING)) {
    QRect outer = newInner.marginsAdded(w->frame);
    WINDOWPOS pos{hwnd, nullptr, outer.x(), outer.y(), outer.width(), outer.height(), flags};
    SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    w = LookupWindow(hwnd);
    if (!w) return;
    newInner = Normalized(QRect(pos.x, pos.y, pos.cx, pos.cy).marginsRemoved(w->frame));
  }

  QRect oldOuter = w->WindowRect();
  QSize oldClient = w->ClientSize();
  QPoint oldOrigin = w->ClientOrigin();
  w->inner = newInner;
  UpdateMenuBarHeight(*w);
  QRect newOuter = w->WindowRect();
  QSize newClient = w->ClientSize();
  QPoint newOrigin = w->ClientOrigin();

  if (newClient != oldClient && !w->minimized) w->buffer->Resize(newClient.width(), newClient.height());
  if (!(flags & SWP_NOREDRAW) && !w->minimized) {
    // A new frame is drawn around the client area whole; a resized one is redrawn whole as its
    // class asks, else where it grew.
    UINT classStyle = w->windowClass->style;
    bool whole = (flags & SWP_FRAMECHANGED) || ((classStyle & CS_HREDRAW) && newClient.width() != oldClient.width()) ||
                 ((classStyle & CS_VREDRAW) && newClient.height() != oldClient.height());
    QRegion all(QRect(QPoint(0, 0), newClient));
    InvalidateClient(*w, whole ? all : all.subtracted(QRect(QPoint(0, 0), oldClient)), true);
  }
  if (pushToQt) {
    PushGeometryToQt(*w);
  } else {
    LayOutWidgets(*w);
  }

  bool moved = newOuter.topLeft() != oldOuter.topLeft();
  bool sized = newOuter.size() != oldOuter.size();
  bool clientSized = newClient != oldClient;
  bool clientMoved = newOrigin != oldOrigin;
  if (!moved && !sized && !clientSized && !clientMoved && !(flags & (SWP_FRAMECHANGED | SWP_STATECHANGED))) return;

  WINDOWPOS pos{hwnd, nullptr, newOuter.x(), newOuter.y(), newOuter.width(), newOuter.height(), flags};
  pos.flags &= ~(SWP_NOSIZE | SWP_NOMOVE | kNoClientSize | kNoClientMove);
  if (!sized) pos.flags |= SWP_NOSIZE;
  if (!moved) pos.flags |= SWP_NOMOVE;
  if (!clientSized) pos.flags |= kNoClientSize;
  if (!clientMoved) pos.flags |= kNoClientMove;
  TellPositionChanged(hwnd, pos, delivery);
}

void SetUpFrame(Window& w, const QRect& outer) {
  if (!w.IsChild() && HasDecoration(w.style)) {
    w.decorated = true;
    std::optional<QMargins> told;
    if (w.widget && HasWindowManager()) told = x11::RequestFrameExtents(w.widget, kFrameRequestPatience);
    w.frame = told.value_or(DecorationFor(w.style));
    RememberDecoration(w);
  }
  w.inner = Normalized(outer.marginsRemoved(w.frame));
}

void ApplyFrameStyle(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->IsChild()) return;
  RequestWindowManagerSync(*w);                          // the window manager's decoration
  if (w->decorated == HasDecoration(w->style)) return;  // buttons at most: the frame stays
  QRect outer = w->WindowRect();
  w->decorated = HasDecoration(w->style);
  // Until the window manager has drawn it: the frame it drew around this window before, else
  // around other decorated windows.
  QMargins before = w->normalDecoration.isNull() ? DecorationFor(w->style) : w->normalDecoration;
  w->frame = w->decorated ? before : QMargins();
  ChangeGeometry(hwnd, outer.marginsRemoved(w->frame), SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED, Delivery::Now,
                 true);
}

void NoteFrameExtents(HWND hwnd, QMargins extents) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->IsChild() || w->destroying || !w->decorated) return;
  if (extents == w->frame) return;
  // The window manager draws the new frame around the client area, which stays where it
  // is: the window rectangle follows.
  QRect oldOuter = w->WindowRect();
  w->frame = extents;
  RememberDecoration(*w);
  QRect outer = w->WindowRect();
  WINDOWPOS pos{hwnd,
                nullptr,
                outer.x(),
                outer.y(),
                outer.width(),
                outer.height(),
                SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | kNoClientSize | kNoClientMove};
  if (outer.topLeft() == oldOuter.topLeft()) pos.flags |= SWP_NOMOVE;
  if (outer.size() == oldOuter.size()) pos.flags |= SWP_NOSIZE;
  TellPositionChanged(hwnd, pos, Delivery::Queued);
}

void NoteSystemGeometry(HWND hwnd, QRect widget) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->IsChild() || w->destroying) return;
  if (w->pushingToQt) return;  // Qt tells of our own change at once: an echo
  QRect inner(ScreenView::OnDesktop().FromOutput(widget.topLeft()), widget.size());
  // The window manager has yet to hear of the program's latest changes, or is on its way to
  // carry out one: what it says meanwhile of a window it does not hold answers older ones.
  if (w->awaitedInner || (w->syncPosted && !w->HeldByWindowManager())) {
    if (w->awaitedInner) {
      if (inner == *w->awaitedInner) {
        w->reportedInner.reset();
      } else {
        w->reportedInner = inner;
      }
    }
    LayOutWidgets(*w);
    return;
  }
  TakeSystemGeometry(hwnd, inner);
}

}  // namespace win32::user32

using namespace win32::user32;

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = WindowOrError(hwnd);
  if (!w || !rect) return FALSE;
  QRect r = w->WindowRect();
  if (w->IsChild()) {
    if (Window* p = LookupWindow(w->parent)) r.translate(ScreenOriginOfClient(*p));
  }
  *rect = ToRect(r);
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = WindowOrError(hwnd);
  if (!w || !rect) return FALSE;
  QSize s = w->ClientSize();
  *rect = RECT{0, 0, s.width(), s.height()};
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
  Window* w = WindowOrError(hwnd);
  if (!w || !point) return FALSE;
  QPoint origin = ScreenOriginOfClient(*w);
  point->x += origin.x();
  point->y += origin.y();
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
  Window* w = WindowOrError(hwnd);
  if (!w || !point) return FALSE;
  QPoint origin = ScreenOriginOfClient(*w);
  point->x -= origin.x();
  point->y -= origin.y();
  return TRUE;
}
