#include "display/display_mode_list.h"

DisplayModeList::DisplayModeList() { Enumerate(); }

DisplayModeList::~DisplayModeList() { RestoreDesktopMode(); }

int DisplayModeList::ScreenCaps(int index) {
  HDC screen = GetDC(NULL);
  int value = GetDeviceCaps(screen, index);
  ReleaseDC(NULL, screen);
  return value;
}

int DisplayModeList::ScreenBits() { return ScreenCaps(BITSPIXEL); }

int DisplayModeList::ScreenWidth() { return ScreenCaps(HORZRES); }

int DisplayModeList::ScreenHeight() { return ScreenCaps(VERTRES); }

int DisplayModeList::Enumerate() {
  modeCount = 0;
  while (modeCount < Capacity) {
    DEVMODEA& mode = modes[modeCount];
    mode.dmSize = sizeof(DEVMODEA);
    mode.dmDriverExtra = 0;
    if (!EnumDisplaySettingsA(NULL, modeCount, &mode)) break;
    // A later match replaces an earlier one: the desktop's mode is the last record of the
    // screen's size and depth.
    if ((int)mode.dmBitsPerPel == ScreenBits() && (int)mode.dmPelsWidth == ScreenWidth() &&
        (int)mode.dmPelsHeight == ScreenHeight()) {
      desktopMode = mode;
    }
    ++modeCount;
  }
  return modeCount;
}

int DisplayModeList::ModeCount() { return modeCount; }

int DisplayModeList::WidthAt(int i) { return i < 0 || i >= modeCount ? 0 : (int)modes[i].dmPelsWidth; }

int DisplayModeList::HeightAt(int i) { return i < 0 || i >= modeCount ? 0 : (int)modes[i].dmPelsHeight; }

int DisplayModeList::BitsAt(int i) { return i < 0 || i >= modeCount ? 0 : (int)modes[i].dmBitsPerPel; }

int DisplayModeList::TestAndChange(DEVMODEA& mode) {
  if (ChangeDisplaySettingsA(&mode, CDS_TEST) != DISP_CHANGE_SUCCESSFUL) return 0;
  return ChangeDisplaySettingsA(&mode, 0);
}

int DisplayModeList::SwitchTo(int i) {
  if (i < 0 || i >= modeCount) return 0;
  return TestAndChange(modes[i]);
}

int DisplayModeList::FindAndSwitch(int width, int height, int bits) {
  for (int i = 0; i < modeCount; ++i) {
    if (WidthAt(i) == width && HeightAt(i) == height && BitsAt(i) == bits) return SwitchTo(i);
  }
  return 0;
}

int DisplayModeList::RestoreDesktopMode() {
  // No listed mode matched the screen at start-up: there is no desktop mode to go back to,
  // and an empty record is never handed to the platform.
  if (desktopMode.dmPelsWidth == 0) return 0;
  if ((int)desktopMode.dmBitsPerPel == ScreenBits() && (int)desktopMode.dmPelsWidth == ScreenWidth() &&
      (int)desktopMode.dmPelsHeight == ScreenHeight()) {
    return 0;
  }
  return TestAndChange(desktopMode);
}
