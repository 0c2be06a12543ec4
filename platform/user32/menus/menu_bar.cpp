#include "platform/user32/menus/menu_bar.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "platform/kernel32/kernel32.h"
#include "platform/user32/message_queue.h"
#include "platform/user32/qt/frame_widget.h"
#include "platform/user32/window_geometry.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

QString TextOf(const MenuItem& item) { return QString::fromStdU16String(item.text); }

void SendLater(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = LookupWindow(hwnd);
  if (!w) return;
  w->queue->PostCall([=] {
    if (LookupWindow(hwnd)) SendMessageA(hwnd, message, wParam, lParam);
  });
}

void Fill(QWidget* container, Menu& menu, HWND hwnd, HMENU barMenu);

// One item of a menu bar or drop-down as a QAction.
void AddItem(QWidget* container, Menu& menu, std::size_t index, HWND hwnd, HMENU barMenu) {
  MenuItem& item = menu.items[index];
  auto* bar = qobject_cast<QMenuBar*>(container);
  auto* dropDown = qobject_cast<QMenu*>(container);
  if (item.flags & MF_SEPARATOR) {
    item.action = bar ? bar->addSeparator() : dropDown->addSeparator();
    return;
  }
  if (item.submenu) {
    Menu* sub = LookupMenu(item.submenu);
    QMenu* popup = bar ? bar->addMenu(TextOf(item)) : dropDown->addMenu(TextOf(item));
    item.action = popup->menuAction();
    if (!sub) return;
    HMENU subHandle = item.submenu;
    auto position = static_cast<WORD>(index);
    QObject::connect(popup, &QMenu::aboutToShow, popup, [hwnd, barMenu, subHandle, position, bar] {
      // A drop-down opened from the bar starts a menu session; Windows says so first.
      if (bar) SendLater(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(barMenu), 0);
      SendLater(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(subHandle), MAKELPARAM(position, FALSE));
    });
    Fill(popup, *sub, hwnd, barMenu);
    ShowItemState(item);
    return;
  }
  QAction* action = bar ? bar->addAction(TextOf(item)) : dropDown->addAction(TextOf(item));
  item.action = action;
  UINT id = item.id;
  HMENU owner = menu.handle;
  QObject::connect(action, &QAction::triggered, action, [hwnd, id, owner, index] {
    // Qt flips a checkable action when it is chosen; Windows leaves marks to the program.
    if (Menu* m = LookupMenu(owner); m && index < m->items.size()) ShowItemState(m->items[index]);
    if (IsWindowEnabled(hwnd)) PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  });
  ShowItemState(item);
}

void Fill(QWidget* container, Menu& menu, HWND hwnd, HMENU barMenu) {
  for (std::size_t i = 0; i < menu.items.size(); ++i) AddItem(container, menu, i, hwnd, barMenu);
}

// The letter after the single '&' of a menu text ("&&" is a plain ampersand).
char16_t Mnemonic(const std::u16string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] != u'&') return text[i + 1];
    ++i;
  }
  return 0;
}

char16_t Fold(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

}  // namespace

void AttachMenuBar(Window& w, HMENU menu) {
  Menu* m = LookupMenu(menu);
  auto* frame = qobject_cast<FrameWidget*>(w.widget.data());
  if (!m) return;
  if (w.menu) DetachMenuBar(w);
  w.menu = menu;
  if (!frame) return;
  auto bar = std::make_unique<QMenuBar>();
  // The bar takes no keyboard focus of its own: keys reach the window, and its mnemonics are
  // opened through DefWindowProcA as on Windows.
  bar->setFocusPolicy(Qt::NoFocus);
  Fill(bar.get(), *m, w.handle, menu);
  bar->setAttribute(Qt::WA_TransparentForMouseEvents, !w.enabled);
  frame->SetMenuBar(bar.release());  // the frame owns it now
}

void DetachMenuBar(Window& w) {
  if (!w.menu) return;
  w.menu = nullptr;
  // Deleting the bar deletes its actions, and the items' pointers to them turn null.
  if (auto* frame = qobject_cast<FrameWidget*>(w.widget.data())) frame->SetMenuBar(nullptr);
}

void ShowItemState(const MenuItem& item) {
  QAction* action = item.action;
  if (!action) return;
  action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
  bool checked = (item.flags & MF_CHECKED) != 0;
  bool radio = (item.flags & MFT_RADIOCHECK) != 0;
  // Qt draws a round mark for a checkable action of an exclusive group, a tick otherwise.
  if (radio && !action->actionGroup()) {
    auto* group = new QActionGroup(action);  // owned by the action
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    group->addAction(action);
  }
  // Unchecked items show no mark at all, radio items included.
  if (checked) {
    action->setCheckable(true);
    action->setChecked(true);
  } else {
    action->setChecked(false);
    action->setCheckable(false);
  }
}

bool OpenMenuFromKeyboard(HWND hwnd, char16_t letter) {
  Window* w = LookupWindow(hwnd);
  if (!w) return false;
  HWND top = TopLevelOf(hwnd);
  w = LookupWindow(top);
  auto* frame = w ? qobject_cast<FrameWidget*>(w->widget.data()) : nullptr;
  Menu* menu = w ? LookupMenu(w->menu) : nullptr;
  if (!frame || !frame->MenuBar() || !menu) return false;
  for (const MenuItem& item : menu->items) {
    if (!item.action || (item.flags & MF_SEPARATOR)) continue;
    if (letter == 0 || Fold(Mnemonic(item.text)) == Fold(letter)) {
      frame->MenuBar()->setActiveAction(item.action);
      return true;
    }
  }
  return false;
}

}  // namespace win32::user32

using namespace win32::user32;

HMENU WINAPI GetMenu(HWND hwnd) {
  Window* w = WindowOrError(hwnd);
  if (!w || w->IsChild()) return nullptr;
  return w->menu;
}

BOOL WINAPI SetMenu(HWND hwnd, HMENU menu) {
  Window* w = WindowOrError(hwnd);
  if (!w || w->IsChild()) return FALSE;
  if (menu && !LookupMenu(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  if (menu == w->menu) return TRUE;
  // The window keeps its rectangle: the client area gives the menu bar's height or takes it.
  DetachMenuBar(*w);
  if (menu) AttachMenuBar(*w, menu);
  ChangeGeometry(hwnd, w->inner, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED,
                 Delivery::Now, true);
  return TRUE;
}

BOOL WINAPI DrawMenuBar(HWND hwnd) {
  Window* w = WindowOrError(hwnd);
  if (!w) return FALSE;
  if (auto* frame = qobject_cast<FrameWidget*>(w->widget.data()); frame && frame->MenuBar()) {
    frame->MenuBar()->update();
  }
  return TRUE;
}
