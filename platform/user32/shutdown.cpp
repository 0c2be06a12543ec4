#include "platform/user32/shutdown.h"

#include "platform/common/qt_application.h"
#include "platform/gdi32/font_mapper.h"
#include "platform/user32/gamepad/gamepad.h"
#include "platform/user32/qt/input_bridge.h"
#include "platform/user32/qt/window_widgets.h"

namespace win32::user32 {

void ShutDownQt() {
  gamepad::Shutdown();
  DestroyAllWidgets();
  ReleaseInputBridge();
  gdi::ReleaseTextResources();
  win32::qt::ShutdownApplication();
}

}  // namespace win32::user32
