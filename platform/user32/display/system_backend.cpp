// The screen this process sees, chosen once.
#include <cstdlib>
#include <string_view>

#include "platform/user32/display/display_settings.h"
#include "platform/user32/display/fixed_screen_backend.h"
#include "platform/user32/display/restore_guard.h"
#include "platform/user32/display/xrandr_backend.h"

namespace win32::display {
namespace {

// Where Qt draws somewhere other than an X server or a Wayland compositor (offscreen,
// minimal, vnc), the program has no real screen to switch.
bool QtDrawsOnAScreen() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (!platform || !*platform) return true;
  std::string_view name(platform);
  return name.starts_with("xcb") || name.starts_with("wayland");
}

}  // namespace

std::unique_ptr<DisplayBackend> SystemBackend() {
  const char* display = std::getenv("DISPLAY");
  if (QtDrawsOnAScreen() && display && *display) {
    if (std::unique_ptr<DisplayBackend> x = OpenXDisplayBackend(nullptr)) return x;
  }
  // The screen assumed where none can be seen.
  return std::make_unique<FixedScreenBackend>(HardwareMode{1024, 768, 60, false}, 32);
}

GuardLauncher SystemGuardLauncher() { return LaunchRestoreGuard; }

}  // namespace win32::display
