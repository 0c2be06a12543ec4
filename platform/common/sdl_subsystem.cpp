#include "platform/common/sdl_subsystem.h"

#include <mutex>

#include "platform/common/immortal.h"

namespace win32 {
namespace {

std::mutex& SdlLock() {
  static Immortal<std::mutex> lock;
  return *lock;
}

}  // namespace

std::unique_ptr<SdlSubsystem> SdlSubsystem::Start(Uint32 flags, std::string& why) {
  std::lock_guard lock(SdlLock());
  // SDL would otherwise catch SIGINT and SIGTERM to turn them into its own quit event, which
  // nobody reads here: the program could then no longer be stopped by a signal.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(flags) != 0) {
    why = SDL_GetError();
    return nullptr;
  }
  return std::make_unique<SdlSubsystem>(Started{}, flags);
}

SdlSubsystem::~SdlSubsystem() {
  std::lock_guard lock(SdlLock());
  SDL_QuitSubSystem(flags_);
}

}  // namespace win32
