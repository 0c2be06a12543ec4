#include "platform/user32/window_table.h"

#include "platform/common/handle_map.h"
#include "platform/common/immortal.h"
#include "platform/kernel32/kernel32.h"

namespace win32::user32 {
namespace {

using WindowMap = HandleMap<HWND, Window>;

WindowMap& Windows() {
  // Even values from 0x10010 up, like the handles of Windows' window manager.
  static Immortal<WindowMap> windows(0x10010, 2);
  return *windows;
}

}  // namespace

Window& AddWindow(std::unique_ptr<Window> window) {
  Window& stored = *window;
  stored.handle = Windows().Add(std::move(window));
  return stored;
}

// The window is destroyed outside the map's lock: its extension may release Qt objects.
void RemoveWindow(HWND hwnd) { Windows().Remove(hwnd); }

Window* LookupWindow(HWND hwnd) { return Windows().Find(hwnd); }

Window* WindowOrError(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

std::shared_ptr<ThreadQueue> QueueOfWindow(HWND hwnd) {
  auto queue = Windows().Read(hwnd, [](const Window& w) { return w.queue; });
  if (!queue) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return queue.value_or(nullptr);
}

std::vector<HWND> AllWindows() { return Windows().Handles(); }

HWND TopLevelOf(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  while (w && w->IsChild() && w->parent) {
    Window* p = LookupWindow(w->parent);
    if (!p) break;
    w = p;
  }
  return w ? w->handle : nullptr;
}

bool IsDescendant(HWND parent, HWND child) {
  Window* w = LookupWindow(child);
  while (w && w->IsChild() && w->parent) {
    if (w->parent == parent) return true;
    w = LookupWindow(w->parent);
  }
  return false;
}

bool IsShowing(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  if (!w) return false;
  for (; w; w = w->IsChild() ? LookupWindow(w->parent) : nullptr) {
    if (!w->IsVisible() || w->destroying) return false;
  }
  return true;
}

}  // namespace win32::user32
