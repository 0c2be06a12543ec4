// The screen's display modes as the platform lists them, and the desktop's own mode, which
// is given back on leaving full screen and at exit.
#pragma once

#include "platform/win32.h"

class DisplayModeList {
 public:
  static constexpr int Capacity = 1000;

  // Enumerates the modes and records the desktop's.
  DisplayModeList();
  // Gives the desktop its mode back if the screen is not in it.
  ~DisplayModeList();
  DisplayModeList(const DisplayModeList&) = delete;
  DisplayModeList& operator=(const DisplayModeList&) = delete;

  // The screen's current depth, width and height, read from its device context.
  int ScreenBits();
  int ScreenWidth();
  int ScreenHeight();

  // Fills the list afresh and returns modeCount.
  int Enumerate();
  int ModeCount();
  // The size and depth of mode i; 0 when i is outside the list.
  int WidthAt(int i);
  int HeightAt(int i);
  int BitsAt(int i);

  // Each returns 0 when nothing was changed or the test change failed, else the result of
  // the real change (DISP_CHANGE_SUCCESSFUL, also 0, on success).
  int SwitchTo(int i);
  // Tries the first mode of this size and depth only.
  int FindAndSwitch(int width, int height, int bits);
  int RestoreDesktopMode();

 private:
  int ScreenCaps(int index);
  // A test change first; the real change only if the test passed.
  int TestAndChange(DEVMODEA& mode);

  DEVMODEA desktopMode{};  // all zero when no listed mode matched the screen
  DEVMODEA modes[Capacity]{};
  int modeCount = 0;
};
