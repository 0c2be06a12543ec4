// A screen that cannot be switched: the only mode it lists is the one it has. Stands for
// the screen when there is no X server, or one without RandR.
#pragma once

#include "platform/user32/display/display_backend.h"

namespace win32::display {

class FixedScreenBackend final : public DisplayBackend {
 public:
  FixedScreenBackend(HardwareMode mode, int bitsPerPixel) : mode_(mode), bitsPerPixel_(bitsPerPixel) {}

  std::vector<HardwareMode> Modes() override { return {mode_}; }
  HardwareMode Current() override { return mode_; }
  int NativeBitsPerPixel() override { return bitsPerPixel_; }
  bool CanApply(const HardwareMode& mode) override { return mode == mode_; }
  bool Apply(const HardwareMode& mode) override { return mode == mode_; }
  std::string Snapshot() override { return {}; }
  bool Restore(const std::string&) override { return true; }

 private:
  HardwareMode mode_;
  int bitsPerPixel_;
};

}  // namespace win32::display
