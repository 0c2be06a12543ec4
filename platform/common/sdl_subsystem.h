// A running SDL subsystem, stopped again when it is destroyed. The platform starts SDL's
// subsystems from more than one thread (the game controllers from the message loop, the sound
// from its own thread), and SDL keeps count of them without a lock: every start and stop goes
// through here, one at a time.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

namespace win32 {

class SdlSubsystem {
  struct Started {};  // only Start() makes one, once SDL runs the subsystem

 public:
  // Null when SDL cannot start `flags` (SDL_INIT_...); `why` then holds SDL's reason.
  static std::unique_ptr<SdlSubsystem> Start(Uint32 flags, std::string& why);
  SdlSubsystem(Started, Uint32 flags) : flags_(flags) {}
  ~SdlSubsystem();
  SdlSubsystem(const SdlSubsystem&) = delete;
  SdlSubsystem& operator=(const SdlSubsystem&) = delete;

 private:
  Uint32 flags_;
};

}  // namespace win32
