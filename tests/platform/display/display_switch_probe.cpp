// A small program that switches the screen the way the game does and then waits, so that
// a test can end it in any way and watch the desktop's mode come back.
//
//   display_switch_probe hold      switch to 640x480x16, say "switched", wait for stdin to
//                                   close, exit without restoring
//   display_switch_probe restore   the same, but restore before saying "restored"
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "platform/win32.h"

namespace {

bool SwitchTo640x480x16() {
  DEVMODEA mode{};
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    if (mode.dmPelsWidth == 640 && mode.dmPelsHeight == 480 && mode.dmBitsPerPel == 16) {
      return ChangeDisplaySettingsA(&mode, CDS_TEST) == DISP_CHANGE_SUCCESSFUL &&
             ChangeDisplaySettingsA(&mode, 0) == DISP_CHANGE_SUCCESSFUL;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  if (command != "hold" && command != "restore") {
    std::fprintf(stderr, "usage: display_switch_probe hold|restore\n");
    return 2;
  }
  if (!SwitchTo640x480x16()) {
    std::printf("no-switch\n");
    return 1;
  }
  if (command == "restore") {
    if (ChangeDisplaySettingsA(nullptr, 0) != DISP_CHANGE_SUCCESSFUL) {
      std::printf("no-restore\n");
      return 1;
    }
    std::printf("restored\n");
  } else {
    std::printf("switched\n");
  }
  std::fflush(stdout);
  std::string line;
  while (std::getline(std::cin, line)) {
  }
  return 0;
}
