// A Win32 program built like the game around the full-screen switch: a window with the
// menu, the global DisplayModeList, and commands read line by line from stdin:
//   full, window    SetFullScreen(hwnd, 1 or 0), answered with the same word
//   quit            ends WinMain; the global objects are then destroyed and, last of all,
//                   the program says "exited" and waits for stdin to close
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "display/full_screen.h"
#include "shell_stand_ins.h"

namespace {

void Say(const char* word) {
  std::string line = std::string(word) + "\n";
  ssize_t ignored = write(STDOUT_FILENO, line.data(), line.size());
  (void)ignored;
}

// Constructed before displayModes, so destroyed after it: it holds the ended program until
// the test has seen what the display mode list did at exit.
struct ExitGate {
  ~ExitGate() {
    Say("exited");
    char byte;
    while (read(STDIN_FILENO, &byte, 1) > 0) {
    }
  }
} exitGate;

}  // namespace

DisplayModeList displayModes;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HWND hwnd = CreateGameLikeWindow("FullScreenProbe", CW_USEDEFAULT, 0, CW_USEDEFAULT, 0);
  if (!hwnd) {
    Say("no-window");
    return 1;
  }
  mainMenu = GetMenu(hwnd);
  SetClientSize(hwnd, 640, 480);
  ShowWindow(hwnd, SW_SHOW);
  Say("ready");
  // Commands come one per line; stdin is read byte by byte so that nothing meant for the
  // exit gate is buffered away here.
  std::string command;
  for (char byte; read(STDIN_FILENO, &byte, 1) > 0;) {
    if (byte != '\n') {
      command += byte;
      continue;
    }
    if (command == "quit") break;
    if (command == "full" || command == "window") {
      SetFullScreen(hwnd, command == "full" ? 1 : 0);
      Say(command.c_str());
    }
    command.clear();
  }
  DestroyWindow(hwnd);
  return 0;
}
