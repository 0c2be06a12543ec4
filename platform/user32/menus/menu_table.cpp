#include "platform/user32/menus/menu_table.h"

#include <memory>

#include "platform/common/handle_map.h"
#include "platform/common/immortal.h"
#include "platform/kernel32/kernel32.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"

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

}  // namespace

Menu* LookupMenu(HMENU handle) { return Menus().Find(handle); }

Menu* MenuOrError(HMENU handle) {
  Menu* m = LookupMenu(handle);
  if (!m) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return m;
}

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
