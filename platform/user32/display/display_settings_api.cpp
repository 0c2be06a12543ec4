// EnumDisplaySettingsA and ChangeDisplaySettingsA: the primary display only.
#include <strings.h>

#include "platform/user32/display/current_mode.h"
#include "platform/user32/display/display_settings.h"
#include "platform/user32/display/mode_list.h"
#include "platform/user32/system_events.h"
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
  win32::display::DisplaySettings& settings = win32::display::TheDisplaySettings();
  if (dwFlags & CDS_TEST) return settings.Change(lpDevMode, dwFlags);
  win32::display::ScreenMode before = win32::display::CurrentScreenMode();
  LONG result = settings.Change(lpDevMode, dwFlags);
  win32::display::ScreenMode after = win32::display::CurrentScreenMode();
  // The windows hear of a new mode (and whether one of them now covers the screen).
  if (after.width != before.width || after.height != before.height || after.bitsPerPixel != before.bitsPerPixel) {
    win32::user32::NoteDisplayChange();
  }
  return result;
}
