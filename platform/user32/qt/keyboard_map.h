// Qt's keys as Windows' virtual keys and scan codes (a US keyboard layout).
#pragma once

#include <optional>

namespace win32::user32::qt {

struct KeyCode {
  int vk = 0;
  int scanCode = 0;
  bool extended = false;  // lParam bit 24: the keys of the enhanced keyboard's extra blocks
};

// The virtual key of a Qt key; `keypad` for keys of the numeric keypad. Nothing for keys
// Windows has no virtual key for.
std::optional<KeyCode> VirtualKeyOf(int qtKey, bool keypad);

}  // namespace win32::user32::qt
