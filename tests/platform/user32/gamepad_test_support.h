// A game controller for the tests: one of SDL's virtual joysticks, typed as a game
// controller so that SDL maps its buttons and axes in SDL's own order.
#pragma once

#include <SDL.h>

#include <ostream>
#include <vector>

#include "platform/win32.h"

namespace user32_test {

class VirtualPad {
 public:
  VirtualPad();
  ~VirtualPad();
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  void Button(SDL_GameControllerButton button, bool down);
  void Axis(SDL_GameControllerAxis axis, int value);
  void Unplug();

 private:
  SDL_Joystick* joystick_ = nullptr;
};

struct KeyMessage {
  UINT message;
  WPARAM wParam;
  bool repeat;  // lParam bit 30
  bool operator==(const KeyMessage&) const = default;
};
void PrintTo(const KeyMessage& m, std::ostream* out);

// Reads the queue as a message loop does (the gamepads are read with it), translating
// key-downs; returns the keyboard messages.
std::vector<KeyMessage> ReadKeys();

}  // namespace user32_test
