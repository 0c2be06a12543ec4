// Menus behind HMENU handles: the items of a menu bar or drop-down, their checks, radio
// marks and grey state. A menu keeps its state while it is not attached to a window.
#pragma once

#include <QPointer>
#include <optional>
#include <string>
#include <vector>

#include "platform/user32/user32.h"

class QAction;

namespace win32::user32 {

struct MenuItem {
  UINT flags = 0;  // MF_POPUP, MF_SEPARATOR, MF_CHECKED, MF_GRAYED, MF_DISABLED, MFT_RADIOCHECK, MF_HELP...
  UINT id = 0;
  std::u16string text;
  HMENU submenu = nullptr;
  QPointer<QAction> action;  // while the menu is shown in a menu bar
};

struct Menu {
  HMENU handle = nullptr;
  std::vector<MenuItem> items;
};

Menu* LookupMenu(HMENU menu);

// Like LookupMenu, and sets ERROR_INVALID_MENU_HANDLE when there is no such menu.
Menu* MenuOrError(HMENU menu);

// The item with this command (searched through the drop-downs too) or at this position.
struct ItemRef {
  Menu* menu = nullptr;
  std::size_t index = 0;
  MenuItem& item() const { return menu->items[index]; }
};
std::optional<ItemRef> FindItem(HMENU menu, UINT idOrPosition, UINT flags);

}  // namespace win32::user32
