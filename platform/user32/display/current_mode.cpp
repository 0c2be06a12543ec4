#include "platform/user32/display/current_mode.h"

#include "platform/user32/display/display_settings.h"

namespace win32::display {

ScreenMode CurrentScreenMode() { return TheDisplaySettings().Current(); }

}  // namespace win32::display
