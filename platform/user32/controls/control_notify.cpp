#include "platform/user32/controls/control_notify.h"

#include "platform/user32/message_queue.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {

void NotifyParent(HWND control, WORD code) {
  Window* c = LookupWindow(control);
  if (!c || !c->parent) return;
  SendMessageA(c->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(c->id), code), reinterpret_cast<LPARAM>(control));
}

void NotifyParentLater(HWND control, WORD code) {
  Window* c = LookupWindow(control);
  if (!c) return;
  c->queue->PostCall([control, code] { NotifyParent(control, code); });
}

}  // namespace win32::user32
