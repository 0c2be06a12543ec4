// DialogBoxParamA: a modal dialog from the program's dialog template.
#include "platform/kernel32/kernel32.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"
#include "platform/user32/dialogs/dialog_builder.h"
#include "platform/user32/dialogs/modal_loop.h"
#include "platform/user32/window_table.h"

using namespace win32::user32;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM initParam) {
  auto data = win32::res::Find(RT_DIALOG, name);
  if (data.empty()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return -1;
  }
  auto dialogTemplate = win32::res::DecodeDialog(data);
  if (!dialogTemplate) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return -1;
  }
  if (owner && !LookupWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  HWND topOwner = owner ? TopLevelOf(owner) : nullptr;
  HWND dialog = CreateDialogFromTemplate(*dialogTemplate, instance, topOwner, proc, initParam);
  if (!dialog) return -1;
  return RunModal(dialog, topOwner);
}
