#include "platform/user32/dialogs/modal_loop.h"

#include "platform/user32/dialogs/dialog_state.h"
#include "platform/user32/window_state.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

constexpr WPARAM kMessageFilterDialogBox = 0;  // MSGF_DIALOGBOX

bool StillRunning(HWND dialog) {
  DialogState* state = DialogOf(dialog);
  return state && !state->ended && IsWindow(dialog);
}

bool CanBeActivated(HWND hwnd) { return hwnd && IsWindow(hwnd) && IsWindowVisible(hwnd) && IsInputEnabled(hwnd); }

}  // namespace

INT_PTR RunModal(HWND dialog, HWND owner, HWND previousActive) {
  bool disabledOwner = owner && IsWindowEnabled(owner);
  if (disabledOwner) EnableWindow(owner, FALSE);
  if (StillRunning(dialog) && !IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
  bool sendIdle = !(GetWindowLongA(dialog, GWL_STYLE) & DS_NOIDLEMSG);

  bool quit = false;
  WPARAM quitCode = 0;
  MSG msg;
  while (StillRunning(dialog)) {
    // The owner hears when the loop has nothing to do.
    if (sendIdle && owner && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      SendMessageA(owner, WM_ENTERIDLE, kMessageFilterDialogBox, reinterpret_cast<LPARAM>(dialog));
      if (!StillRunning(dialog)) break;
    }
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      quit = true;
      quitCode = msg.wParam;
      break;
    }
    if (!IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  DialogState* state = DialogOf(dialog);
  INT_PTR result = state ? state->result : 0;
  // The owner is enabled before the dialog goes, so that the activation returns to it.
  if (disabledOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  // A disabled window takes no activation: while an outer dialog keeps the owner disabled,
  // that dialog gets the keyboard back.
  if (CanBeActivated(owner)) {
    SetActiveWindow(owner);
  } else if (CanBeActivated(previousActive)) {
    SetActiveWindow(previousActive);
  }
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  return result;
}

}  // namespace win32::user32
