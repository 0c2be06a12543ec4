#include "platform/user32/system_events.h"

#include "platform/user32/user32.h"
#include "platform/user32/window_state.h"

namespace win32::user32 {

void NoteSystemClose(HWND hwnd) {
  // A disabled window (the owner of a modal dialog) takes no input, its close box included.
  if (!IsInputEnabled(hwnd)) return;
  PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace win32::user32
