// The output this process sees, chosen once.
#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <string_view>

#include "platform/common/qt_application.h"
#include "platform/user32/display/output.h"
#include "platform/user32/qt/event_pump.h"

namespace win32::display {
namespace {

class FixedOutput final : public Output {
 public:
  OutputMode Mode() override { return kAssumedOutput; }
};

int BitsOfDepth(int depth) { return depth > 16 ? 32 : depth > 8 ? 16 : 8; }

// The primary screen as Qt has it: in logical pixels, the unit of every window's geometry.
// Qt may only be asked on its own thread; other threads hear the mode it had last.
class QtOutput final : public Output {
 public:
  OutputMode Mode() override {
    std::lock_guard lock(mutex_);
    if (user32::qt::RunsQt()) {
      if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QSize size = screen->size();
        last_ = {size.width(), size.height(), static_cast<int>(std::lround(screen->refreshRate())),
                 BitsOfDepth(screen->depth())};
      }
    }
    return last_;
  }

 private:
  std::mutex mutex_;
  OutputMode last_ = kAssumedOutput;
};

// Where Qt draws somewhere other than an X server or a Wayland compositor (offscreen,
// minimal, vnc), the program has no real output.
bool QtDrawsOnAScreen() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (!platform || !*platform) return true;
  std::string_view name(platform);
  return name.starts_with("xcb") || name.starts_with("wayland");
}

}  // namespace

std::unique_ptr<Output> SystemOutput() {
  if (QtDrawsOnAScreen() && qt::Application() && QGuiApplication::primaryScreen()) {
    auto output = std::make_unique<QtOutput>();
    output->Mode();
    return output;
  }
  return std::make_unique<FixedOutput>();
}

}  // namespace win32::display
