// An analog stick read as four directions. The stick engages well away from the centre and
// lets go only nearer to it, so that a stick resting at the edge of the dead zone, or a worn
// one that drifts, does not flicker between a direction and none; a held direction gives way
// to a neighbouring one only once that one clearly dominates.
#pragma once

#include <optional>

#include "platform/user32/gamepad/pad_keys.h"

namespace win32::user32::gamepad {

class Stick {
 public:
  // SDL's axis values, -32768 to 32767; y grows downward.
  void SetX(int value) { x_ = value; }
  void SetY(int value) { y_ = value; }

  // Takes the new values in: the direction the stick points in now, given where it pointed
  // before.
  std::optional<PadAction> Update();
  std::optional<PadAction> Held() const { return held_; }

 private:
  int x_ = 0;
  int y_ = 0;
  std::optional<PadAction> held_;
};

}  // namespace win32::user32::gamepad
