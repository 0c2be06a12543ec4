#include "platform/user32/painting.h"

#include <QWidget>

#include "platform/gdi32/gdi32.h"
#include "platform/gdi32/pixel_buffer.h"
#include "platform/kernel32/kernel32.h"
#include "platform/user32/cursors.h"
#include "platform/user32/qt/client_widget.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

QRect ClientArea(const Window& w) { return QRect(QPoint(0, 0), w.ClientSize()); }

QRect FromRect(const RECT& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

RECT ToRect(const QRect& r) {
  if (r.isEmpty()) return RECT{0, 0, 0, 0};
  return RECT{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

bool NeedsPaint(const Window& w) { return !w.updateRegion.isEmpty() || w.internalPaint; }

// The top-level windows of the calling thread (what a null window handle stands for in the
// painting functions: the whole desktop, as far as this program has windows on it).
std::vector<HWND> ThreadTopLevelWindows() {
  std::vector<HWND> result;
  auto& queue = ThreadQueue::Current();
  for (HWND h : AllWindows()) {
    Window* w = LookupWindow(h);
    if (w && !w->IsChild() && w->queue.get() == &queue) result.push_back(h);
  }
  return result;
}

void Validate(Window& w, const QRegion& region) {
  w.updateRegion -= region;
  if (w.updateRegion.isEmpty()) w.erasePending = false;
}

void Redraw(HWND hwnd, const RECT* rect, UINT flags) {
  Window* w = LookupWindow(hwnd);
  if (!w) return;
  QRegion area = rect ? QRegion(FromRect(*rect)) : QRegion(ClientArea(*w));
  if (flags & RDW_INVALIDATE) InvalidateClient(*w, area, (flags & RDW_ERASE) != 0);
  if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
  if (flags & RDW_VALIDATE) Validate(*w, area);
  if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
  if (flags & RDW_NOERASE) w->erasePending = false;
  if (flags & RDW_ALLCHILDREN) {
    for (HWND child : std::vector<HWND>(w->children)) Redraw(child, nullptr, flags & ~(RDW_UPDATENOW | RDW_ERASENOW));
    w = LookupWindow(hwnd);
    if (!w) return;
  }
  if ((flags & RDW_ERASENOW) && !(flags & RDW_UPDATENOW) && w->erasePending && IsShowing(hwnd)) {
    HDC dc = win32::gdi::CreateBufferDC(w->buffer);
    LRESULT erased = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    win32::gdi::ReleaseBufferDC(dc);
    if (Window* again = LookupWindow(hwnd)) {
      if (erased) again->erasePending = false;
      Present(*again, ClientArea(*again));
    }
  }
  if (flags & RDW_UPDATENOW) UpdateWindow(hwnd);
}

}  // namespace

void InvalidateClient(Window& w, const QRegion& region, bool erase) {
  QRegion clipped = region.intersected(ClientArea(w));
  if (clipped.isEmpty()) return;
  w.updateRegion += clipped;
  if (erase) w.erasePending = true;
  // A WM_PAINT is now due; a reader blocked on another thread must see it.
  if (!w.queue->IsOwnerThread()) w.queue->Wake();
}

std::optional<MSG> TakePaint(ThreadQueue& queue, const MessageFilter& filter, bool remove) {
  if (!filter.MatchesMessage(WM_PAINT)) return std::nullopt;
  for (HWND hwnd : AllWindows()) {
    Window* w = LookupWindow(hwnd);
    if (!w || w->queue.get() != &queue || !NeedsPaint(*w) || !IsShowing(hwnd) || !filter.MatchesWindow(hwnd)) continue;
    if (remove) w->internalPaint = false;
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = WM_PAINT;
    msg.time = MessageTimeNow();
    msg.pt = CursorPositionNow();
    return msg;
  }
  return std::nullopt;
}

bool PaintPending(ThreadQueue& queue, const MessageFilter& filter) {
  return TakePaint(queue, filter, false).has_value();
}

void Present(Window& w, const QRect& area) {
  if (w.client) {
    w.client->ShowArea(area);
  } else if (w.widget) {
    w.widget->update(area);
  }
}

}  // namespace win32::user32

using namespace win32::user32;

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    for (HWND h : ThreadTopLevelWindows()) InvalidateRect(h, nullptr, erase);
    return TRUE;
  }
  Window* w = WindowOrError(hwnd);
  if (!w) return FALSE;
  InvalidateClient(*w, rect ? QRegion(FromRect(*rect)) : QRegion(ClientArea(*w)), erase != FALSE);
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect) {
  if (!hwnd) return TRUE;
  Window* w = WindowOrError(hwnd);
  if (!w) return FALSE;
  if (rect) {
    Validate(*w, FromRect(*rect));
  } else {
    w->updateRegion = QRegion();
    w->erasePending = false;
    w->internalPaint = false;
  }
  return TRUE;
}

BOOL WINAPI RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
  if (!hwnd) {
    for (HWND h : ThreadTopLevelWindows()) Redraw(h, nullptr, flags);
    return TRUE;
  }
  if (!WindowOrError(hwnd)) return FALSE;
  Redraw(hwnd, rect, flags);
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
  Window* w = WindowOrError(hwnd);
  if (!w) return FALSE;
  if (!w->updateRegion.isEmpty() && IsShowing(hwnd)) SendMessageA(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  Window* w = WindowOrError(hwnd);
  if (!w || !ps) return nullptr;
  *ps = PAINTSTRUCT{};
  HDC dc = win32::gdi::CreateBufferDC(w->buffer);
  bool erase = w->erasePending;
  QRect bounds = w->updateRegion.boundingRect();
  w->updateRegion = QRegion();
  w->erasePending = false;
  w->internalPaint = false;
  ps->hdc = dc;
  ps->rcPaint = ToRect(bounds);
  ps->fErase = FALSE;
  if (erase) {
    // fErase tells the procedure that the background still needs erasing.
    ps->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  }
  return dc;
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  win32::gdi::ReleaseBufferDC(ps->hdc);
  // Drawing is not clipped to the update region, so all of the client area is shown again.
  if (Window* w = LookupWindow(hwnd)) Present(*w, ClientArea(*w));
  return TRUE;
}

HDC WINAPI GetDC(HWND hwnd) {
  if (!hwnd) return win32::gdi::CreateScreenDC();
  Window* w = WindowOrError(hwnd);
  if (!w) return nullptr;
  return win32::gdi::CreateBufferDC(w->buffer);
}

int WINAPI ReleaseDC(HWND hwnd, HDC dc) {
  if (!hwnd) return win32::gdi::ReleaseBufferDC(dc) ? 1 : 0;
  if (!win32::gdi::ReleaseBufferDC(dc)) return 0;
  if (Window* w = LookupWindow(hwnd)) Present(*w, ClientArea(*w));
  return 1;
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!rect || !brush) return 0;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return 1;
  // A system colour index plus one stands for that colour's brush.
  auto value = reinterpret_cast<std::uintptr_t>(brush);
  bool temporary = value >= 1 && value <= COLOR_MENUBAR + 1;
  if (temporary) brush = CreateSolidBrush(GetSysColor(static_cast<int>(value - 1)));
  HGDIOBJ old = SelectObject(dc, brush);
  BOOL done = FALSE;
  if (old) {
    done = PatBlt(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, PATCOPY);
    SelectObject(dc, old);
  }
  if (temporary) DeleteObject(brush);
  return done ? 1 : 0;
}
