// Accelerator tables: LoadAcceleratorsA, DestroyAcceleratorTable, TranslateAcceleratorA.
#include <memory>
#include <vector>

#include "platform/common/handle_map.h"
#include "platform/common/immortal.h"
#include "platform/kernel32/kernel32.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"
#include "platform/user32/menus/menu_table.h"
#include "platform/user32/window_state.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

using AcceleratorMap = HandleMap<HACCEL, std::vector<ACCEL>>;

AcceleratorMap& Tables() {
  static Immortal<AcceleratorMap> tables(0x50010, 2);
  return *tables;
}

// A copy: the table may be destroyed while its commands run.
std::optional<std::vector<ACCEL>> TableOf(HACCEL handle) {
  return Tables().Read(handle, [](const std::vector<ACCEL>& table) { return table; });
}

constexpr BYTE kModifiers = FSHIFT | FCONTROL | FALT;

bool Matches(const ACCEL& entry, const MSG& msg) {
  bool altHeld = (msg.lParam & (1 << 29)) != 0;
  if (entry.fVirt & FVIRTKEY) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (msg.wParam != entry.key) return false;
    // Shift, Ctrl and Alt must be exactly as the entry says: F4 is not Ctrl+F4.
    BYTE held = 0;
    if (GetKeyState(VK_SHIFT) < 0) held |= FSHIFT;
    if (GetKeyState(VK_CONTROL) < 0) held |= FCONTROL;
    if (GetKeyState(VK_MENU) < 0) held |= FALT;
    return held == (entry.fVirt & kModifiers);
  }
  // A character entry: the typed character, Shift and Ctrl already in it; Alt must agree.
  if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
  if (msg.wParam != entry.key) return false;
  return altHeld == ((entry.fVirt & FALT) != 0);
}

// The item of the window's menu with this command, and the drop-down that holds it.
struct MenuPlace {
  HMENU bar = nullptr;
  HMENU dropDown = nullptr;
  WORD position = 0;
  const MenuItem* item = nullptr;
};

std::optional<MenuPlace> FindInMenu(HWND hwnd, WORD command) {
  HMENU bar = GetMenu(hwnd);
  Menu* menu = LookupMenu(bar);
  if (!menu) return std::nullopt;
  for (std::size_t i = 0; i < menu->items.size(); ++i) {
    const MenuItem& top = menu->items[i];
    if (!top.submenu && top.id == command && !(top.flags & MF_SEPARATOR)) return MenuPlace{bar, nullptr, 0, &top};
    if (!top.submenu) continue;
    auto inner = FindItem(top.submenu, command, MF_BYCOMMAND);
    if (inner) return MenuPlace{bar, top.submenu, static_cast<WORD>(i), &inner->item()};
  }
  return std::nullopt;
}

}  // namespace
}  // namespace win32::user32

using namespace win32::user32;

HACCEL WINAPI LoadAcceleratorsA(HINSTANCE, LPCSTR name) {
  auto entries = win32::res::FindDecoded(RT_ACCELERATOR, name, win32::res::DecodeAccelerators);
  if (!entries) return nullptr;
  return Tables().Add(std::make_unique<std::vector<ACCEL>>(std::move(*entries)));
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL handle) { return Tables().Remove(handle) ? TRUE : FALSE; }

int WINAPI TranslateAcceleratorA(HWND hwnd, HACCEL handle, LPMSG msg) {
  if (!msg || !hwnd) return 0;
  auto table = TableOf(handle);
  if (!table) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!LookupWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  for (const ACCEL& entry : *table) {
    if (!Matches(entry, *msg)) continue;
    // The key is taken even when the command is suppressed: a disabled window, a grey menu
    // item, a minimised window's menu item.
    if (!IsInputEnabled(hwnd)) return 1;
    auto place = FindInMenu(hwnd, entry.cmd);
    if (place) {
      if (place->item->flags & (MF_GRAYED | MF_DISABLED)) return 1;
      if (IsIconic(hwnd)) return 1;
      // As if the menu were opened: the program may update it first.
      SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(place->bar), 0);
      if (place->dropDown && IsWindow(hwnd)) {
        SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(place->dropDown), MAKELPARAM(place->position, FALSE));
      }
      if (!IsWindow(hwnd)) return 1;
      // The program's answer to those may have greyed the item.
      if (auto again = FindInMenu(hwnd, entry.cmd); again && (again->item->flags & (MF_GRAYED | MF_DISABLED))) return 1;
    }
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
    return 1;
  }
  return 0;
}
