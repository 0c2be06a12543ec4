#include "platform/user32/window_table.h"

#include <map>
#include <mutex>

#include "platform/common/immortal.h"
#include "platform/kernel32/kernel32.h"

namespace win32::user32 {
namespace {

struct Table {
  std::mutex mutex;
  // Ordered by handle, and handles grow: iteration is creation order.
  std::map<std::uintptr_t, std::unique_ptr<Window>> windows;
  // Even values from 0x10010 up, like the handles of Windows' window manager.
  std::uintptr_t next = 0x10010;
};

Table& TheTable() {
  static Immortal<Table> table;
  return *table;
}

std::uintptr_t Key(HWND hwnd) { return reinterpret_cast<std::uintptr_t>(hwnd); }

}  // namespace

Window& AddWindow(std::unique_ptr<Window> window) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  std::uintptr_t key = t.next;
  t.next += 2;
  window->handle = reinterpret_cast<HWND>(key);
  Window& stored = *window;
  t.windows.emplace(key, std::move(window));
  return stored;
}

void RemoveWindow(HWND hwnd) {
  std::unique_ptr<Window> doomed;
  {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    auto it = t.windows.find(Key(hwnd));
    if (it == t.windows.end()) return;
    doomed = std::move(it->second);
    t.windows.erase(it);
  }
  // Destroyed outside the lock: the window's extension may release Qt objects.
}

Window* LookupWindow(HWND hwnd) {
  if (!hwnd) return nullptr;
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  auto it = t.windows.find(Key(hwnd));
  return it == t.windows.end() ? nullptr : it->second.get();
}

Window* WindowOrError(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

std::shared_ptr<ThreadQueue> QueueOfWindow(HWND hwnd) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  auto it = t.windows.find(Key(hwnd));
  return it == t.windows.end() ? nullptr : it->second->queue;
}

std::vector<HWND> AllWindows() {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  std::vector<HWND> result;
  result.reserve(t.windows.size());
  for (const auto& [key, w] : t.windows) result.push_back(w->handle);
  return result;
}

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

}  // namespace win32::user32
