// The up-down control ("msctls_updown32"), shown as a spin box: a position within a range,
// changed by its arrows; the parent hears WM_VSCROLL.
#include <QSpinBox>

#include "platform/user32/controls/control_class.h"
#include "platform/user32/controls/system_classes.h"
#include "platform/user32/message_queue.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

QSpinBox* SpinOf(HWND hwnd) {
  Window* w = LookupWindow(hwnd);
  return w ? qobject_cast<QSpinBox*>(w->widget.data()) : nullptr;
}

QWidget* MakeSpinBox(Window& w, QWidget* parent) {
  auto* spin = new QSpinBox(parent);  // owned by its Qt parent
  // Windows' default range runs from 100 down to 0.
  spin->setRange(0, 100);
  spin->setWrapping(w.style & UDS_WRAP);
  HWND hwnd = w.handle;
  QObject::connect(spin, &QSpinBox::valueChanged, spin, [hwnd](int value) {
    Window* self = LookupWindow(hwnd);
    if (!self || !self->parent) return;
    HWND parent = self->parent;
    UINT message = (self->style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    self->queue->PostCall([=] {
      if (IsWindow(parent)) {
        SendMessageA(parent, message, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(value)),
                     reinterpret_cast<LPARAM>(hwnd));
      }
    });
  });
  return spin;
}

LRESULT CALLBACK UpDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  QSpinBox* spin = SpinOf(hwnd);
  switch (message) {
    case UDM_SETRANGE:  // MAKELPARAM(upper, lower)
      if (spin) spin->setRange(std::min<int>(static_cast<short>(HIWORD(lParam)), static_cast<short>(LOWORD(lParam))),
                               std::max<int>(static_cast<short>(HIWORD(lParam)), static_cast<short>(LOWORD(lParam))));
      return 0;
    case UDM_SETRANGE32:
      if (spin) spin->setRange(std::min<int>(static_cast<int>(wParam), static_cast<int>(lParam)),
                               std::max<int>(static_cast<int>(wParam), static_cast<int>(lParam)));
      return 0;
    case UDM_GETRANGE:
      return spin ? MAKELRESULT(spin->maximum(), spin->minimum()) : 0;
    case UDM_GETRANGE32:
      if (spin && wParam) *reinterpret_cast<int*>(wParam) = spin->minimum();
      if (spin && lParam) *reinterpret_cast<int*>(lParam) = spin->maximum();
      return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
      if (!spin) return 0;
      int old = spin->value();
      QSignalBlocker quiet(spin);  // set by the program: the parent is not told
      spin->setValue(message == UDM_SETPOS ? static_cast<short>(LOWORD(lParam)) : static_cast<int>(lParam));
      return old;
    }
    case UDM_GETPOS:
      return spin ? MAKELRESULT(spin->value(), 0) : MAKELRESULT(0, 1);
    case UDM_GETPOS32:
      return spin ? spin->value() : 0;
    case WM_KEYDOWN:
      if (spin && wParam == VK_UP) spin->stepUp();
      if (spin && wParam == VK_DOWN) spin->stepDown();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    default:
      return DefControlProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterUpDownClass() { RegisterControlClass(UPDOWN_CLASSA, UpDownProc, IDC_ARROW, MakeSpinBox); }

}  // namespace win32::user32
