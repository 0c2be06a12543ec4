// One of SDL's virtual joysticks, typed as a game controller with every button and axis, so
// that SDL maps them in its own order: joystick button n is SDL_GameControllerButton n, axis
// n is SDL_GameControllerAxis n. Shared by the tests' pads and the end-to-end pad.
#pragma once

#include <SDL.h>

// The opened joystick, or null (SDL_GetError says why).
inline SDL_Joystick* PlugInVirtualController() {
  int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                        SDL_CONTROLLER_BUTTON_MAX, 0);
  return index >= 0 ? SDL_JoystickOpen(index) : nullptr;
}
