// The state of menu items (check marks, radio marks, grey) as the program sets and reads it;
// a menu shown in a menu bar shows each change at once.
#include "platform/user32/menus/menu_bar.h"
#include "platform/user32/menus/menu_table.h"

namespace win32::user32 {
namespace {

void SetChecked(MenuItem& item, bool checked, bool radio) {
  item.flags = checked ? (item.flags | MF_CHECKED) : (item.flags & ~MF_CHECKED);
  if (radio) item.flags |= MFT_RADIOCHECK;
  ShowItemState(item);
}

}  // namespace
}  // namespace win32::user32

using namespace win32::user32;

DWORD WINAPI CheckMenuItem(HMENU menu, UINT id, UINT check) {
  auto ref = FindItem(menu, id, check & MF_BYPOSITION);
  if (!ref) return static_cast<DWORD>(-1);
  MenuItem& item = ref->item();
  DWORD previous = item.flags & MF_CHECKED;
  SetChecked(item, (check & MF_CHECKED) != 0, false);
  return previous;
}

BOOL WINAPI CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  if (!MenuOrError(menu)) return FALSE;
  // The group lies in the menu that holds `first`; by position, in `menu` itself.
  auto anchor = FindItem(menu, first, flags & MF_BYPOSITION);
  if (!anchor) return FALSE;
  Menu& group = *anchor->menu;
  bool found = false;
  if (flags & MF_BYPOSITION) {
    for (UINT pos = first; pos <= last && pos < group.items.size(); ++pos) {
      bool on = pos == check;
      found = found || on;
      SetChecked(group.items[pos], on, on);
    }
  } else {
    for (MenuItem& item : group.items) {
      if (item.submenu || (item.flags & MF_SEPARATOR) || item.id < first || item.id > last) continue;
      bool on = item.id == check;
      found = found || on;
      SetChecked(item, on, on);
    }
  }
  return found ? TRUE : FALSE;
}

BOOL WINAPI EnableMenuItem(HMENU menu, UINT id, UINT enable) {
  auto ref = FindItem(menu, id, enable & MF_BYPOSITION);
  if (!ref) return -1;
  MenuItem& item = ref->item();
  BOOL previous = static_cast<BOOL>(item.flags & (MF_GRAYED | MF_DISABLED));
  item.flags = (item.flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  ShowItemState(item);
  return previous;
}

UINT WINAPI GetMenuState(HMENU menu, UINT id, UINT flags) {
  auto ref = FindItem(menu, id, flags & MF_BYPOSITION);
  if (!ref) return static_cast<UINT>(-1);
  const MenuItem& item = ref->item();
  UINT state = item.flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP | MFT_RADIOCHECK |
                             MF_MENUBARBREAK | MF_MENUBREAK | MF_HELP);
  if (item.submenu) {
    // A drop-down's state carries its number of items in the high byte.
    Menu* sub = LookupMenu(item.submenu);
    state = (state & 0xFF) | (static_cast<UINT>(sub ? sub->items.size() : 0) << 8);
  }
  return state;
}
