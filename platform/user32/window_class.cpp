#include "platform/user32/window_class.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/common/codepage.h"
#include "platform/common/immortal.h"
#include "platform/kernel32/kernel32.h"
#include "platform/user32/controls/system_classes.h"

namespace win32::user32 {
namespace {

// Atoms of registered classes, as Windows numbers them: from 0xC000 up.
constexpr ATOM kFirstAtom = 0xC000;

struct Registry {
  std::mutex mutex;
  std::vector<std::shared_ptr<const WindowClass>> classes;
  ATOM nextAtom = kFirstAtom;
  bool systemClassesRegistered = false;
};

Registry& TheRegistry() {
  static Immortal<Registry> registry;
  return *registry;
}

void EnsureSystemClasses() {
  // Registering takes the lock itself; the flag only prevents doing it twice.
  static std::once_flag once;
  std::call_once(once, [] { RegisterSystemClasses(); });
}

// True when `nameOrAtom` (a name, or an atom as an integer resource) stands for the class.
bool IsNamed(const WindowClass& c, LPCSTR nameOrAtom) {
  return IS_INTRESOURCE(nameOrAtom) ? c.atom == LOWORD(nameOrAtom) : cp932::SameName(c.name, nameOrAtom);
}

// The lock must be held by the caller in the functions below.
std::vector<std::shared_ptr<const WindowClass>>::iterator FindLocked(Registry& r, LPCSTR nameOrAtom,
                                                                     bool systemClasses) {
  return std::find_if(r.classes.begin(), r.classes.end(),
                      [&](const auto& c) { return c->system == systemClasses && IsNamed(*c, nameOrAtom); });
}

// Gives the class the next atom and keeps it.
ATOM AddLocked(Registry& r, WindowClass windowClass) {
  windowClass.atom = r.nextAtom++;
  auto stored = std::make_shared<WindowClass>(std::move(windowClass));
  // A menu name given as text points into the stored class's own copy of it.
  if (!stored->menuNameText.empty()) stored->menuName = stored->menuNameText.c_str();
  r.classes.push_back(stored);
  return stored->atom;
}

}  // namespace

std::shared_ptr<const WindowClass> FindClass(LPCSTR nameOrAtom) {
  if (!nameOrAtom) return nullptr;
  EnsureSystemClasses();
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  for (bool systemClasses : {false, true}) {
    if (auto it = FindLocked(r, nameOrAtom, systemClasses); it != r.classes.end()) return *it;
  }
  return nullptr;
}

ATOM RegisterSystemClass(WindowClass windowClass) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  windowClass.system = true;
  return AddLocked(r, std::move(windowClass));
}

}  // namespace win32::user32

using win32::user32::WindowClass;

namespace {
constexpr DWORD kErrorClassHasWindows = 1412;
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName || !wc->lpfnWndProc || wc->cbClsExtra < 0 ||
      wc->cbWndExtra < 0 || IS_INTRESOURCE(wc->lpszClassName)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  win32::user32::EnsureSystemClasses();
  auto& r = win32::user32::TheRegistry();
  std::lock_guard lock(r.mutex);
  if (win32::user32::FindLocked(r, wc->lpszClassName, false) != r.classes.end()) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  WindowClass c;
  c.name = wc->lpszClassName;
  c.style = wc->style;
  c.proc = wc->lpfnWndProc;
  c.windowExtra = wc->cbWndExtra;
  c.instance = wc->hInstance;
  c.icon = wc->hIcon;
  c.smallIcon = wc->hIconSm;
  c.cursor = wc->hCursor;
  c.background = wc->hbrBackground;
  if (wc->lpszMenuName && !IS_INTRESOURCE(wc->lpszMenuName)) {
    c.menuNameText = wc->lpszMenuName;
  } else {
    c.menuName = wc->lpszMenuName;
  }
  return win32::user32::AddLocked(r, std::move(c));
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE) {
  auto& r = win32::user32::TheRegistry();
  std::lock_guard lock(r.mutex);
  auto it = win32::user32::FindLocked(r, name, false);
  if (it == r.classes.end()) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return FALSE;
  }
  // Every window holds its class: a second owner means that windows of it still exist.
  if (it->use_count() > 1) {
    SetLastError(kErrorClassHasWindows);
    return FALSE;
  }
  r.classes.erase(it);
  return TRUE;
}
