// What the platform keeps about a dialog beside its window: its procedure, its font and base
// units, its default button, and the result EndDialog gives it.
#pragma once

#include <QFont>

#include "platform/user32/dialogs/dialog_units.h"
#include "platform/user32/window.h"

namespace win32::user32 {

struct DialogState final : WindowExtension {
  DLGPROC proc = nullptr;
  QFont font;
  BaseUnits units;
  int defaultId = 0;  // 0: no default push button yet
  bool ended = false;
  INT_PTR result = 0;
};

// The dialog state of a dialog window; null for other windows.
DialogState* DialogOf(HWND hwnd);

// Gives the focus to a dialog's control. Text that it lands on is selected whole, ready to be
// typed over.
void FocusControl(HWND control);

// The class name of dialogs.
inline constexpr const char* kDialogClass = "#32770";

}  // namespace win32::user32
