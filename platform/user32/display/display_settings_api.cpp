// EnumDisplaySettingsA and ChangeDisplaySettingsA: the primary display only.
#include <strings.h>

#include "platform/user32/display/display_settings.h"
#include "platform/win32.h"

namespace {

// NULL, "" and the primary display's own name all mean the primary display.
bool IsPrimaryDisplay(LPCSTR name) {
  return !name || !*name || strcasecmp(name, win32::display::kPrimaryDeviceName) == 0;
}

}  // namespace

BOOL WINAPI EnumDisplaySettingsA(LPCSTR lpszDeviceName, DWORD iModeNum, DEVMODEA* lpDevMode) {
  if (!lpDevMode || !IsPrimaryDisplay(lpszDeviceName)) return FALSE;
  return win32::display::TheDisplaySettings().Enumerate(iModeNum, *lpDevMode) ? TRUE : FALSE;
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* lpDevMode, DWORD dwFlags) {
  return win32::display::TheDisplaySettings().Change(lpDevMode, dwFlags);
}
