#include "platform/user32/display/display_settings.h"

#include <mutex>
#include <utility>

#include "platform/common/immortal.h"
#include "platform/user32/display/emulated_display_settings.h"

namespace win32::display {
namespace {

struct Holder {
  std::mutex mutex;
  std::unique_ptr<DisplaySettings> settings;
};

Holder& TheHolder() {
  static Immortal<Holder> holder;
  return *holder;
}

}  // namespace

DisplaySettings& TheDisplaySettings() {
  Holder& holder = TheHolder();
  std::lock_guard lock(holder.mutex);
  if (!holder.settings) holder.settings = std::make_unique<EmulatedDisplaySettings>(SystemOutput());
  return *holder.settings;
}

void UseDisplaySettings(std::unique_ptr<DisplaySettings> settings) {
  Holder& holder = TheHolder();
  std::lock_guard lock(holder.mutex);
  holder.settings = std::move(settings);
}

ScreenMode CurrentScreenMode() { return TheDisplaySettings().Current(); }

ScreenMode DesktopScreenMode() { return TheDisplaySettings().Desktop(); }

bool ScreenIsEmulated() {
  DisplaySettings& settings = TheDisplaySettings();
  ScreenMode current = settings.Current();
  ScreenMode desktop = settings.Desktop();
  return current.width != desktop.width || current.height != desktop.height;
}

}  // namespace win32::display
