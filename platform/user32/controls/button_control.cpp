// The BUTTON control, as push buttons: BN_CLICKED from a click, the space bar or BM_CLICK.
#include <QPushButton>

#include "platform/common/codepage.h"
#include "platform/user32/controls/control_class.h"
#include "platform/user32/controls/control_notify.h"
#include "platform/user32/controls/system_classes.h"
#include "platform/user32/window_state.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

QPushButton* ButtonOf(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  return w ? qobject_cast<QPushButton*>(w->widget.data()) : nullptr;
}

bool IsDefault(const Window& w) { return (w.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }

QWidget* MakeButton(Window& w, QWidget* parent) {
  auto* button = new QPushButton(parent);  // owned by its Qt parent
  button->setAutoDefault(false);
  button->setDefault(IsDefault(w));
  button->setFocusPolicy(Qt::StrongFocus);
  HWND hwnd = w.handle;
  // A click with the mouse; Qt reports it while processing its events, the parent hears it
  // from the message loop.
  QObject::connect(button, &QPushButton::clicked, button, [hwnd] {
    if (IsInputEnabled(hwnd)) NotifyParentLater(hwnd, BN_CLICKED);
  });
  return button;
}

void ShowText(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  QPushButton* button = ButtonOf(hwnd);
  // Qt reads '&' the way Windows does: "&&" is an ampersand, "&Y" underlines Y.
  if (w && button) button->setText(QString::fromStdU16String(cp932::ToUtf16(w->text)));
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
    case WM_SETTEXT:
      return KeepAndShowText(hwnd, message, wParam, lParam, ShowText);
    case WM_GETDLGCODE: {
      Window* w = LookupWindow(hwnd);
      return DLGC_BUTTON | (w && IsDefault(*w) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        if (QPushButton* b = ButtonOf(hwnd)) b->setDown(true);
      }
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE) {
        QPushButton* b = ButtonOf(hwnd);
        if (b && b->isDown()) {
          b->setDown(false);
          NotifyParent(hwnd, BN_CLICKED);
        }
      }
      return 0;
    case WM_CHAR:
      return 0;
    case WM_KILLFOCUS:
      if (QPushButton* b = ButtonOf(hwnd)) b->setDown(false);
      return 0;
    case BM_CLICK:
      if (IsInputEnabled(hwnd)) NotifyParent(hwnd, BN_CLICKED);
      return 0;
    case BM_GETSTATE: {
      QPushButton* b = ButtonOf(hwnd);
      return b && b->isDown() ? 0x0004 /* BST_PUSHED */ : 0;
    }
    case BM_SETSTATE:
      if (QPushButton* b = ButtonOf(hwnd)) b->setDown(wParam != 0);
      return 0;
    case BM_SETSTYLE: {
      Window* w = LookupWindow(hwnd);
      if (!w) return 0;
      w->style = (w->style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      if (QPushButton* b = ButtonOf(hwnd)) b->setDefault(IsDefault(*w));
      return 0;
    }
    default:
      return DefControlProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterButtonClass() { RegisterControlClass("BUTTON", ButtonProc, IDC_ARROW, MakeButton); }

}  // namespace win32::user32
