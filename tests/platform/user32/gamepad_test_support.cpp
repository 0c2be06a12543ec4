#include "gamepad_test_support.h"

#include <gtest/gtest.h>

namespace user32_test {

VirtualPad::VirtualPad() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.name = "Porongo test pad";
  int index = SDL_JoystickAttachVirtualEx(&desc);
  EXPECT_GE(index, 0) << SDL_GetError();
  joystick_ = SDL_JoystickOpen(index);
  EXPECT_NE(joystick_, nullptr) << SDL_GetError();
}

VirtualPad::~VirtualPad() {
  Unplug();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void VirtualPad::Button(SDL_GameControllerButton button, bool down) {
  SDL_JoystickSetVirtualButton(joystick_, button, down ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualPad::Axis(SDL_GameControllerAxis axis, int value) {
  SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
}

void VirtualPad::Unplug() {
  if (!joystick_) return;
  SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
  SDL_JoystickClose(joystick_);
  joystick_ = nullptr;
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }
}

void PrintTo(const KeyMessage& m, std::ostream* out) {
  *out << "{0x" << std::hex << m.message << ", 0x" << m.wParam << (m.repeat ? ", repeat}" : "}") << std::dec;
}

std::vector<KeyMessage> ReadKeys() {
  std::vector<KeyMessage> got;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_PAINT) ValidateRect(msg.hwnd, nullptr);
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
      got.push_back(KeyMessage{msg.message, msg.wParam, (msg.lParam & (1 << 30)) != 0});
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return got;
}

}  // namespace user32_test
