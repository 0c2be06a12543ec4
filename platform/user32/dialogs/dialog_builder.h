// Building a dialog window and its controls from a dialog template.
#pragma once

#include "platform/resources/resource_formats.h"
#include "platform/user32/user32.h"

namespace win32::user32 {

// Creates the dialog (hidden unless the template says WS_VISIBLE), its controls in template
// order, and sends WM_INITDIALOG; the focus goes to the first tab stop when the procedure
// returns TRUE. Null when a control cannot be made (unless DS_NOFAILCREATE) or Qt is missing.
HWND CreateDialogFromTemplate(const res::DialogTemplate& dialog, HINSTANCE instance, HWND owner, DLGPROC proc,
                              LPARAM initParam);

}  // namespace win32::user32
