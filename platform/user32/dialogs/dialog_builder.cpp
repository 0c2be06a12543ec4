#include "platform/user32/dialogs/dialog_builder.h"

#include <QWidget>

#include "platform/common/codepage.h"
#include "platform/kernel32/kernel32.h"
#include "platform/user32/dialogs/dialog_state.h"
#include "platform/user32/frame_metrics.h"
#include "platform/user32/qt/qt_ready.h"
#include "platform/user32/window_table.h"
#include "platform/user32/work_area.h"

namespace win32::user32 {
namespace {

// A template's x of CW_USEDEFAULT16 asks for the default place.
constexpr short kDefaultPosition = static_cast<short>(0x8000);

std::string ClassNameOf(const res::NameOrOrdinal& name) {
  if (!name.isOrdinal) return cp932::FromUtf16Lossy(name.name);
  switch (name.ordinal) {
    case 0x80:
      return "BUTTON";
    case 0x81:
      return "EDIT";
    case 0x82:
      return "STATIC";
    case 0x83:
      return "LISTBOX";
    case 0x84:
      return "SCROLLBAR";
    case 0x85:
      return "COMBOBOX";
    default:
      return {};
  }
}

QRect WorkAreaNear(HWND owner) {
  Window* o = LookupWindow(owner);
  return WorkArea(o ? o->widget.data() : nullptr);
}

// Where the dialog's window goes: the template's place from the owner's client area (or the
// screen with DS_ABSALIGN), or the centre of the work area, then pushed inside the work area.
QRect Place(const res::DialogTemplate& t, QSize client, QMargins frame, BaseUnits units, HWND owner) {
  QRect work = WorkAreaNear(owner);
  QSize outer = QSize(client.width() + frame.left() + frame.right(), client.height() + frame.top() + frame.bottom());
  QRect rect;
  if ((t.style & DS_CENTER) || t.x == kDefaultPosition) {
    rect = QRect(QPoint(0, 0), outer);
    rect.moveCenter(work.center());
  } else {
    QRect offset = DialogUnitsToPixels(t.x, t.y, 0, 0, units);
    QPoint clientOrigin = offset.topLeft();
    if (!(t.style & DS_ABSALIGN) && owner) {
      POINT origin{0, 0};
      ClientToScreen(owner, &origin);
      clientOrigin += QPoint(origin.x, origin.y);
    }
    // The point is the dialog's client origin: the window begins above and left of it.
    rect = QRect(clientOrigin - QPoint(frame.left(), frame.top()), outer);
  }
  if (rect.right() > work.right()) rect.moveRight(work.right());
  if (rect.bottom() > work.bottom()) rect.moveBottom(work.bottom());
  if (rect.left() < work.left()) rect.moveLeft(work.left());
  if (rect.top() < work.top()) rect.moveTop(work.top());
  return rect;
}

}  // namespace

HWND CreateDialogFromTemplate(const res::DialogTemplate& t, HINSTANCE instance, HWND owner, DLGPROC proc,
                              LPARAM initParam) {
  if (!QtReady()) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  owner = owner ? TopLevelOf(owner) : nullptr;
  QFont font = DialogFontOf(t);
  BaseUnits units = BaseUnitsOf(font);
  QRect client = DialogUnitsToPixels(0, 0, t.cx, t.cy, units);
  DWORD style = t.style & ~WS_VISIBLE;
  // Placed with the frame that decorated windows had so far, then again with the one the
  // window manager says it draws around this window, once the window exists.
  QRect outer = Place(t, client.size(), DecorationFor(style), units, owner);

  std::string title = cp932::FromUtf16Lossy(t.title);
  std::string className = t.windowClass.isOrdinal || t.windowClass.name.empty() ? kDialogClass
                                                                                 : ClassNameOf(t.windowClass);
  HWND dialog = CreateWindowExA(t.exStyle, className.c_str(), title.c_str(), style, outer.x(), outer.y(),
                                outer.width(), outer.height(), owner, nullptr, instance, nullptr);
  if (!dialog) return nullptr;
  Window* w = LookupWindow(dialog);
  if (QRect exact = Place(t, client.size(), w->frame, units, owner); exact != w->WindowRect()) {
    SetWindowPos(dialog, nullptr, exact.x(), exact.y(), exact.width(), exact.height(), SWP_NOZORDER | SWP_NOACTIVATE);
    w = LookupWindow(dialog);
    if (!w) return nullptr;
  }
  auto state = std::make_unique<DialogState>();
  state->proc = proc;
  state->font = font;
  state->units = units;
  w->extension = std::move(state);
  if (w->widget) w->widget->setFont(font);

  for (const res::DialogItem& item : t.items) {
    std::string itemClass = ClassNameOf(item.windowClass);
    std::string text = item.text.isOrdinal ? std::string() : cp932::FromUtf16Lossy(item.text.name);
    QRect r = DialogUnitsToPixels(item.x, item.y, item.cx, item.cy, units);
    // A plain template's identifiers are 16 bits: -1 is 0xFFFF there.
    DWORD id = t.extended ? item.id : (item.id & 0xFFFF);
    HWND control = CreateWindowExA(item.exStyle | WS_EX_NOPARENTNOTIFY, itemClass.c_str(), text.c_str(),
                                   item.style | WS_CHILD, r.x(), r.y(), r.width(), r.height(), dialog,
                                   reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), instance, nullptr);
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      DestroyWindow(dialog);
      return nullptr;
    }
    if (Window* c = LookupWindow(control); c && c->widget) c->widget->setFont(font);
    // An ordinal text names a resource of the program: the icon of an SS_ICON static.
    if (item.text.isOrdinal) {
      HINSTANCE module = instance ? instance : GetModuleHandleA(nullptr);
      SendMessageA(control, STM_SETICON,
                   reinterpret_cast<WPARAM>(LoadIconA(module, MAKEINTRESOURCEA(item.text.ordinal))), 0);
    }
    DialogState* s = DialogOf(dialog);
    if (s && !s->defaultId && itemClass == "BUTTON" && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      s->defaultId = static_cast<int>(id);
    }
  }

  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  LRESULT focus = SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam);
  if (!IsWindow(dialog)) return nullptr;
  if (focus) FocusControl(GetNextDlgTabItem(dialog, nullptr, FALSE));
  if (t.style & WS_VISIBLE) ShowWindow(dialog, SW_SHOWNORMAL);
  return dialog;
}

}  // namespace win32::user32
