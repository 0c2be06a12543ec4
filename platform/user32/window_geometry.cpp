#include "platform/user32/window_geometry.h"

#include <QWidget>
#include <algorithm>

#include "platform/kernel32/kernel32.h"
#include "platform/user32/frame_metrics.h"
#include "platform/user32/painting.h"
#include "platform/user32/qt/frame_widget.h"
#include "platform/user32/qt/window_manager.h"
#include "platform/user32/qt/window_widgets.h"
#include "platform/user32/system_events.h"
#include "platform/user32/window_state.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

QRect Normalized(QRect r) {
  return QRect(r.topLeft(), QSize(std::max(0, r.width()), std::max(0, r.height())));
}

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

}  // namespace

void UpdateMenuBarHeight(Window& w) {
  auto* frame = qobject_cast<FrameWidget*>(w.widget.data());
  w.menuBarHeight = frame && w.menu ? frame->MenuBarHeightFor(w.inner.width()) : 0;
}

void RefreshFrame(Window& w) {
  if (w.IsChild()) return;
  if (!HasDecoration(w.style)) {
    w.frame = QMargins();
    return;
  }
  QMargins known = QtFrameMargins(w);
  if (!known.isNull()) {
    w.frame = known;
    NoteDecoration(known);
  }
}

void PushGeometryToQt(Window& w) {
  if (!w.widget) return;
  if (w.IsChild()) {
    w.widget->setGeometry(w.inner);
    return;
  }
  if (w.maximized || w.minimized) return;  // the window manager holds the geometry then
  ReleaseSizeConstraints(w);
  if (w.widget->isVisible() && w.widget->geometry() != w.inner) {
    w.pendingQtGeometry.push_back(w.inner);
    if (w.pendingQtGeometry.size() > 8) w.pendingQtGeometry.erase(w.pendingQtGeometry.begin());
  }
  w.widget->setGeometry(w.inner);
  ApplySizeConstraints(w);
  if (auto* frame = qobject_cast<FrameWidget*>(w.widget.data())) frame->LayOut();
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

  if (newClient != oldClient && !w->minimized) {
    w->buffer->Resize(newClient.width(), newClient.height());
    if (!(flags & SWP_NOREDRAW)) {
      UINT classStyle = w->windowClass->style;
      bool whole = ((classStyle & CS_HREDRAW) && newClient.width() != oldClient.width()) ||
                   ((classStyle & CS_VREDRAW) && newClient.height() != oldClient.height());
      QRegion all(QRect(QPoint(0, 0), newClient));
      InvalidateClient(*w, whole ? all : all.subtracted(QRect(QPoint(0, 0), oldClient)), true);
    }
  }
  if (pushToQt) PushGeometryToQt(*w);

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
  if (delivery == Delivery::Now) {
    SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  } else {
    w->queue->PostCall([pos]() mutable {
      if (LookupWindow(pos.hwnd)) SendMessageA(pos.hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    });
  }
}

void ApplyFrameStyle(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->IsChild()) return;
  ApplyWindowFlags(*w);
  if (w->decorated == HasDecoration(w->style)) return;  // buttons at most: the frame stays
  QRect outer = w->WindowRect();
  w->decorated = HasDecoration(w->style);
  w->frame = w->decorated ? DecorationFor(w->style) : QMargins();
  RefreshFrame(*w);
  ChangeGeometry(hwnd, outer.marginsRemoved(w->frame), SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED,
                 Delivery::Now, true);
}

void NoteSystemGeometry(HWND hwnd, QRect inner, QMargins frame) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->IsChild() || w->destroying) return;
  if (HasDecoration(w->style) && !frame.isNull()) {
    w->frame = frame;
    NoteDecoration(frame);
  }
  auto& pending = w->pendingQtGeometry;
  auto echo = std::find(pending.begin(), pending.end(), inner);
  if (echo != pending.end()) {
    pending.erase(pending.begin(), echo + 1);
    return;
  }
  pending.clear();
  if (inner == w->inner) return;
  ChangeGeometry(hwnd, inner, SWP_NOZORDER | SWP_NOACTIVATE, Delivery::Queued, false);
  if (Window* again = LookupWindow(hwnd); again && !again->maximized && !again->minimized) {
    ApplySizeConstraints(*again);
  }
}

void NoteSystemWindowState(HWND hwnd, bool maximized, bool minimized) {
  Window* w = LookupWindow(hwnd);
  if (!w || w->destroying || (w->maximized == maximized && w->minimized == minimized)) return;
  if (maximized && !w->maximized && !w->minimized) w->normalInner = w->inner;
  w->maximized = maximized;
  w->minimized = minimized;
  w->style = (w->style & ~(WS_MAXIMIZE | WS_MINIMIZE)) | (maximized ? WS_MAXIMIZE : 0) | (minimized ? WS_MINIMIZE : 0);
  if (maximized || minimized) {
    ReleaseSizeConstraints(*w);
  } else {
    ApplySizeConstraints(*w);
  }
  // The new size, if any, comes with Qt's resize event; the state change itself is told here.
  QRect outer = w->WindowRect();
  WINDOWPOS pos{hwnd, nullptr, outer.x(), outer.y(), outer.width(), outer.height(),
                SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | kNoClientMove | SWP_STATECHANGED};
  w->queue->PostCall([pos]() mutable {
    if (LookupWindow(pos.hwnd)) SendMessageA(pos.hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  });
}

}  // namespace win32::user32

using namespace win32::user32;

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = WindowOrError(hwnd);
  if (!w || !rect) return FALSE;
  RefreshFrame(*w);
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
  ChangeGeometry(hwnd, QRect(position, size).marginsRemoved(w->frame), flags, Delivery::Now, true);

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
