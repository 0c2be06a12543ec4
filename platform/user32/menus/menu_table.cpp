#include "platform/user32/menus/menu_table.h"

#include <memory>

#include "platform/common/handle_map.h"
#include "platform/common/immortal.h"
#include "platform/kernel32/kernel32.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"
#include "platform/user32/menus/menu_bar.h"

namespace win32::user32 {
namespace {

using MenuMap = HandleMap<HMENU, Menu>;

MenuMap& Menus() {
  static Immortal<MenuMap> menus(0x30010, 2);  // a range of their own
  return *menus;
}

Menu& NewMenu() {
  auto menu = std::make_unique<Menu>();
  Menu& stored = *menu;
  stored.handle = Menus().Add(std::move(menu));
  return stored;
}

// A menu gets its handle before its drop-downs get theirs.
HMENU Build(const std::vector<res::MenuItem>& items) {
  Menu& menu = NewMenu();
  for (const res::MenuItem& source : items) {
    MenuItem item;
    item.flags = source.flags;
    item.id = source.id;
    item.text = source.text;
    if (source.flags & MF_POPUP) item.submenu = Build(source.items);
    menu.items.push_back(std::move(item));
  }
  return menu.handle;
}

std::optional<ItemRef> FindByCommand(Menu& menu, UINT id) {
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    MenuItem& item = menu.items[i];
    if (item.submenu) {
      if (Menu* sub = LookupMenu(item.submenu)) {
        if (auto found = FindByCommand(*sub, id)) return found;
      }
    } else if (!(item.flags & MF_SEPARATOR) && item.id == id) {
      return ItemRef{&menu, i};
    }
  }
  return std::nullopt;
}

void SetChecked(MenuItem& item, bool checked, bool radio) {
  item.flags = checked ? (item.flags | MF_CHECKED) : (item.flags & ~MF_CHECKED);
  if (radio) item.flags |= MFT_RADIOCHECK;
  ShowItemState(item);
}

Menu* MenuOrError(HMENU handle) {
  Menu* m = LookupMenu(handle);
  if (!m) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return m;
}

}  // namespace

Menu* LookupMenu(HMENU handle) { return Menus().Find(handle); }

std::optional<ItemRef> FindItem(HMENU handle, UINT idOrPosition, UINT flags) {
  Menu* menu = LookupMenu(handle);
  if (!menu) return std::nullopt;
  if (flags & MF_BYPOSITION) {
    if (idOrPosition >= menu->items.size()) return std::nullopt;
    return ItemRef{menu, idOrPosition};
  }
  return FindByCommand(*menu, idOrPosition);
}

}  // namespace win32::user32

using namespace win32::user32;

HMENU WINAPI LoadMenuA(HINSTANCE, LPCSTR name) {
  auto items = win32::res::FindDecoded(RT_MENU, name, win32::res::DecodeMenu);
  return items ? Build(*items) : nullptr;
}

BOOL WINAPI DestroyMenu(HMENU handle) {
  Menu* menu = MenuOrError(handle);
  if (!menu) return FALSE;
  std::vector<HMENU> submenus;
  for (const MenuItem& item : menu->items) {
    if (item.submenu) submenus.push_back(item.submenu);
  }
  for (HMENU sub : submenus) DestroyMenu(sub);
  return Menus().Remove(handle) ? TRUE : FALSE;
}

HMENU WINAPI GetSubMenu(HMENU menu, int position) {
  Menu* m = LookupMenu(menu);
  if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return nullptr;
  return m->items[static_cast<std::size_t>(position)].submenu;
}

int WINAPI GetMenuItemCount(HMENU menu) {
  Menu* m = MenuOrError(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

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
