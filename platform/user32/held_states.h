// The states a window manager may hold a top-level window in.
#pragma once

namespace win32::user32 {

struct HeldStates {
  bool maximized = false;
  bool minimized = false;
  bool fullScreen = false;

  friend bool operator==(const HeldStates&, const HeldStates&) = default;
};

}  // namespace win32::user32
