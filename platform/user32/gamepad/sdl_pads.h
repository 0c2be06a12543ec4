// The game controllers that SDL knows, read through its GameController API: its database
// names the buttons and axes of the common pads, and SDL_GAMECONTROLLERCONFIG adds others.
#pragma once

#include <SDL_gamecontroller.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/common/sdl_subsystem.h"

namespace win32::user32::gamepad {

// What happened on a pad: a button, an axis, or the pad went away. Buttons and axes are
// SDL_GameControllerButton and SDL_GameControllerAxis values.
struct PadInput {
  enum Kind { Button, Axis, Removed };
  Kind kind = Button;
  int pad = 0;  // SDL's instance id, unique for as long as the program runs
  int control = 0;
  int value = 0;  // a button: 1 down, 0 up; an axis: -32768 to 32767
};

class SdlPads {
 public:
  // Null when SDL's game-controller subsystem cannot start.
  static std::unique_ptr<SdlPads> Open();
  // Use Open.
  explicit SdlPads(std::unique_ptr<SdlSubsystem> sdl) : sdl_(std::move(sdl)) {}
  SdlPads(const SdlPads&) = delete;
  SdlPads& operator=(const SdlPads&) = delete;

  // Lets SDL look at its devices, opens the pads that were plugged in and closes the ones
  // that went, and returns what happened since the last call, in order.
  std::vector<PadInput> Read();

  bool Any() const { return !open_.empty(); }

 private:
  struct Close {
    void operator()(SDL_GameController* pad) const { SDL_GameControllerClose(pad); }
  };
  void Add(int deviceIndex);

  std::unique_ptr<SdlSubsystem> sdl_;  // outlives the pads, which are closed first
  std::map<int, std::unique_ptr<SDL_GameController, Close>> open_;
};

}  // namespace win32::user32::gamepad
