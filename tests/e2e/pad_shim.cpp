// A game controller for the end-to-end tests, preloaded into the real program
// (LD_PRELOAD): when the program starts SDL's game-controller subsystem, one of SDL's
// virtual controllers is plugged in and then driven by lines read from the FIFO named in
// PORONGO_TEST_PAD:
//   press <button> | release <button>   SDL's button names: a, b, start, dpleft, ...
//   axis <axis> <value>                 SDL's axis names: leftx, lefty, ...; -32768 to 32767
// Once the controller is plugged in, the file "$PORONGO_TEST_PAD.ready" appears.
#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/platform/user32/virtual_controller.h"

namespace {

void Drive(SDL_Joystick* pad, std::string fifo) {
  std::ifstream commands(fifo);
  std::string line;
  while (std::getline(commands, line)) {
    std::istringstream words(line);
    std::string verb, name;
    int value = 0;
    words >> verb >> name >> value;
    if (verb == "press" || verb == "release") {
      SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
      if (button != SDL_CONTROLLER_BUTTON_INVALID)
        SDL_JoystickSetVirtualButton(pad, button, verb == "press" ? SDL_PRESSED : SDL_RELEASED);
    } else if (verb == "axis") {
      SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name.c_str());
      if (axis != SDL_CONTROLLER_AXIS_INVALID) SDL_JoystickSetVirtualAxis(pad, axis, static_cast<Sint16>(value));
    } else if (!verb.empty()) {
      std::fprintf(stderr, "pad_shim: unknown command '%s'\n", line.c_str());
    }
  }
}

void PlugIn() {
  const char* fifo = std::getenv("PORONGO_TEST_PAD");
  if (!fifo) return;
  SDL_Joystick* pad = PlugInVirtualController();
  if (!pad) {
    std::fprintf(stderr, "pad_shim: no virtual controller: %s\n", SDL_GetError());
    return;
  }
  std::ofstream(std::string(fifo) + ".ready") << "ready\n";
  std::thread(Drive, pad, std::string(fifo)).detach();
}

}  // namespace

extern "C" int SDL_InitSubSystem(Uint32 flags) {
  using Init = int (*)(Uint32);
  static auto real = reinterpret_cast<Init>(dlsym(RTLD_NEXT, "SDL_InitSubSystem"));
  static bool plugged = false;
  int result = real(flags);
  if (result == 0 && (flags & SDL_INIT_GAMECONTROLLER) && !plugged) {
    plugged = true;
    PlugIn();
  }
  return result;
}
