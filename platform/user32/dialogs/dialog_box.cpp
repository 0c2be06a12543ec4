// DialogBoxParamA: a modal dialog from the program's dialog template.
#include "platform/kernel32/kernel32.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"
#include "platform/user32/dialogs/dialog_builder.h"
#include "platform/user32/dialogs/modal_loop.h"
#include "platform/user32/window_table.h"

using namespace win32::user32;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM initParam) {
  auto dialogTemplate = win32::res::FindDecoded(RT_DIALOG, name, win32::res::DecodeDialog);
  if (!dialogTemplate) return -1;
  if (owner && !LookupWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  HWND topOwner = owner ? TopLevelOf(owner) : nullptr;
  HWND previousActive = GetActiveWindow();
  HWND dialog = CreateDialogFromTemplate(*dialogTemplate, instance, topOwner, proc, initParam);
  if (!dialog) return -1;
  return RunModal(dialog, topOwner, previousActive);
}
