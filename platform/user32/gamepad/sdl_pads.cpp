#include "platform/user32/gamepad/sdl_pads.h"

#include <SDL.h>

#include <array>
#include <string>
#include <utility>

namespace win32::user32::gamepad {

std::unique_ptr<SdlPads> SdlPads::Open() {
  // Counted apart from the audio subsystem: either can stop without the other.
  std::string why;
  auto sdl = SdlSubsystem::Start(SDL_INIT_GAMECONTROLLER, why);
  if (!sdl) return nullptr;
  // The pads already there arrive as "added" events, like the ones plugged in later.
  return std::make_unique<SdlPads>(std::move(sdl));
}

void SdlPads::Add(int deviceIndex) {
  if (open_.contains(SDL_JoystickGetDeviceInstanceID(deviceIndex))) return;
  SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
  if (!pad) return;
  int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
  open_.emplace(id, pad);
}

std::vector<PadInput> SdlPads::Read() {
  SDL_GameControllerUpdate();
  std::vector<PadInput> inputs;
  std::array<SDL_Event, 64> events;
  // Only the joystick and controller events are ours; the joystick ones are read to keep the
  // queue short, the controller ones say what happened.
  for (;;) {
    int n = SDL_PeepEvents(events.data(), static_cast<int>(events.size()), SDL_GETEVENT, SDL_JOYAXISMOTION,
                           SDL_FINGERDOWN - 1);
    for (int i = 0; i < n; ++i) {
      const SDL_Event& e = events[static_cast<std::size_t>(i)];
      switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
          Add(e.cdevice.which);
          break;
        case SDL_CONTROLLERDEVICEREMOVED:
          if (open_.erase(e.cdevice.which)) inputs.push_back(PadInput{PadInput::Removed, e.cdevice.which, 0, 0});
          break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
          if (open_.contains(e.cbutton.which))
            inputs.push_back(PadInput{PadInput::Button, e.cbutton.which, e.cbutton.button, e.cbutton.state});
          break;
        case SDL_CONTROLLERAXISMOTION:
          if (open_.contains(e.caxis.which))
            inputs.push_back(PadInput{PadInput::Axis, e.caxis.which, e.caxis.axis, e.caxis.value});
          break;
        default:
          break;
      }
    }
    if (n < static_cast<int>(events.size())) break;
  }
  return inputs;
}

}  // namespace win32::user32::gamepad
