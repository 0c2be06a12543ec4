// Creating and destroying windows.
#include "platform/kernel32/kernel32.h"
#include "platform/user32/menus/menu_bar.h"
#include "platform/user32/menus/menu_table.h"
#include "platform/user32/message_queue.h"
#include "platform/user32/qt/qt_ready.h"
#include "platform/user32/qt/window_widgets.h"
#include "platform/user32/timers.h"
#include "platform/user32/window_geometry.h"
#include "platform/user32/window_state.h"
#include "platform/user32/window_table.h"
#include "platform/user32/work_area.h"

namespace win32::user32 {
namespace {

constexpr DWORD kErrorTopLevelWithChildStyle = 1406;  // ERROR_TLW_WITH_WSCHILD

// Where Windows puts a top-level window that asks for the default place or size: cascaded
// from the top left of the work area, three quarters of it in size.
QRect DefaultPlacement(int x, int y, int width, int height) {
  static int cascade = 0;
  QRect work = WorkArea();
  QPoint position(x, y);
  if (x == CW_USEDEFAULT) {
    int step = 26 * (cascade++ % 8);
    position = work.topLeft() + QPoint(step, step);
  }
  QSize size(width, height);
  if (width == CW_USEDEFAULT) size = QSize(work.width() * 3 / 4, work.height() * 3 / 4);
  return QRect(position, QSize(std::max(0, size.width()), std::max(0, size.height())));
}

// Sends WM_DESTROY to the window and then to its children, top down.
void SendDestroy(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  if (!w) return;
  w->destroying = true;
  SendMessageA(hwnd, WM_DESTROY, 0, 0);
  w = LookupWindow(hwnd);
  if (!w) return;
  for (HWND child : std::vector<HWND>(w->children)) SendDestroy(child);
}

// Frees the children, bottom up, then the window itself, each after its WM_NCDESTROY.
void Free(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  if (!w) return;
  for (HWND child : std::vector<HWND>(w->children)) Free(child);
  w = LookupWindow(hwnd);
  if (!w) return;
  KillTimersOf(hwnd);
  w->queue->RemoveMessagesOf(hwnd);
  SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
  w = LookupWindow(hwnd);
  if (!w) return;
  if (w->menu) {
    HMENU menu = w->menu;
    DetachMenuBar(*w);
    DestroyMenu(menu);
  }
  if (Window* parent = LookupWindow(w->parent)) std::erase(parent->children, hwnd);
  // A child's widget goes with its parent's when the whole tree is freed: only the top
  // window of the tree deletes widgets.
  if (Window* parent = LookupWindow(w->parent); !parent || !parent->destroying) DestroyWidgets(*w);
  RemoveWindow(hwnd);
}

}  // namespace
}  // namespace win32::user32

using namespace win32::user32;

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parentOrOwner, HMENU menu, HINSTANCE instance, LPVOID param) {
  auto windowClass = FindClass(className);
  if (!windowClass) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  bool child = (style & WS_CHILD) != 0;
  if (child && !parentOrOwner) {
    SetLastError(kErrorTopLevelWithChildStyle);
    return nullptr;
  }
  if (parentOrOwner && !LookupWindow(parentOrOwner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (!QtReady()) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  // An overlapped window always has a caption.
  if (!(style & (WS_POPUP | WS_CHILD))) style |= WS_CAPTION | WS_CLIPSIBLINGS;

  auto model = std::make_unique<Window>();
  model->windowClass = windowClass;
  model->proc = windowClass->proc;
  model->style = style;
  model->exStyle = exStyle;
  model->instance = instance;
  model->enabled = !(style & WS_DISABLED);
  model->extraBytes.resize(static_cast<std::size_t>(windowClass->windowExtra));
  model->queue = ThreadQueue::CurrentShared();
  model->buffer = std::make_shared<win32::gdi::PixelBuffer>();
  if (child) {
    model->parent = parentOrOwner;
    model->id = reinterpret_cast<LONG_PTR>(menu);
    auto coordinate = [](int v) { return v == CW_USEDEFAULT ? 0 : v; };
    model->inner = QRect(coordinate(x), coordinate(y), std::max(0, coordinate(width)), std::max(0, coordinate(height)));
  } else {
    model->owner = parentOrOwner ? TopLevelOf(parentOrOwner) : nullptr;
    model->placedBySystem = x == CW_USEDEFAULT;
  }
  Window& w = AddWindow(std::move(model));
  HWND hwnd = w.handle;
  if (child) {
    if (Window* parent = LookupWindow(w.parent)) parent->children.push_back(hwnd);
  }
  BuildWidgets(w);

  if (!child) {
    // The rectangle asked for includes the decoration, which the window manager says once
    // the native window exists.
    SetUpFrame(w, DefaultPlacement(x, y, width, height));
    HMENU attached = menu;
    if (!attached && windowClass->menuName) attached = LoadMenuA(windowClass->instance, windowClass->menuName);
    // The window rectangle asked for includes the menu bar: the client area gives way.
    if (attached) AttachMenuBar(w, attached);
    UpdateMenuBarHeight(w);
  }
  QSize client = w.ClientSize();
  w.buffer->Resize(client.width(), client.height());
  PushGeometryToQt(w);

  CREATESTRUCTA create{param,  instance, menu,       parentOrOwner, height,   width,
                       y,      x,        static_cast<LONG>(style), windowName, className, exStyle};
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    // Refused before it existed: it hears only WM_NCDESTROY.
    if (Window* refused = LookupWindow(hwnd)) refused->destroying = true;
    Free(hwnd);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(hwnd);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Window* created = LookupWindow(hwnd);
  if (!created) return nullptr;
  QSize size = created->ClientSize();
  QPoint origin = created->ClientOrigin();
  SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.width(), size.height()));
  SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(origin.x()), static_cast<WORD>(origin.y())));
  created = LookupWindow(hwnd);
  if (created && (style & WS_VISIBLE)) {
    // Shown through ShowWindow, so that it hears WM_SHOWWINDOW and is painted whole.
    created->style &= ~WS_VISIBLE;
    ShowWindow(hwnd, child ? SW_SHOWNA : SW_SHOW);
  }
  return LookupWindow(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
  Window* w = WindowOrError(hwnd);
  if (!w) return FALSE;
  if (!w->queue->IsOwnerThread()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (w->destroying) return TRUE;
  // Owned windows (the dialogs of this window) go first.
  for (HWND other : AllWindows()) {
    Window* o = LookupWindow(other);
    if (o && !o->IsChild() && o->owner == hwnd && !o->destroying) DestroyWindow(other);
  }
  w = LookupWindow(hwnd);
  if (!w) return TRUE;
  if (w->IsVisible()) {
    w->style &= ~WS_VISIBLE;
    if (w->widget) w->widget->hide();
  }
  DropFocusFrom(hwnd);
  SendDestroy(hwnd);
  Free(hwnd);
  return TRUE;
}
