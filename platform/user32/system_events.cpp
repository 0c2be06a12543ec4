#include "platform/user32/system_events.h"

#include "platform/user32/painting.h"
#include "platform/user32/window_state.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {

void NoteSystemClose(HWND hwnd) {
  // A disabled window (the owner of a modal dialog) takes no input, its close box included.
  if (!IsInputEnabled(hwnd)) return;
  PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void NoteExposed(HWND hwnd) {
  if (Window* w = LookupWindow(hwnd)) InvalidateClient(*w, QRect(QPoint(0, 0), w->ClientSize()), true);
}

}  // namespace win32::user32
