#include "scripted_display.h"

#include <algorithm>
#include <mutex>
#include <optional>

#include "platform/user32/display/display_settings.h"

namespace porongo::testing {
namespace {

using win32::display::ListedMode;
using win32::display::ScreenMode;

class ScriptedSettings final : public win32::display::DisplaySettings {
 public:
  explicit ScriptedSettings(std::shared_ptr<ScriptedScreen> screen) : screen_(std::move(screen)) {}

  bool Enumerate(DWORD index, DEVMODEA& record) override {
    std::lock_guard lock(mutex_);
    if (index == ENUM_CURRENT_SETTINGS || index == ENUM_REGISTRY_SETTINGS) {
      win32::display::FillRecord(record, index == ENUM_CURRENT_SETTINGS ? CurrentListed() : DesktopListed());
      return true;
    }
    if (index == 0 || listed_.empty()) listed_ = win32::display::ListModes(screen_->modes);
    if (index >= listed_.size()) return false;
    win32::display::FillRecord(record, listed_[index]);
    return true;
  }

  LONG Change(const DEVMODEA* record, DWORD flags) override {
    std::lock_guard lock(mutex_);
    std::optional<ListedMode> target = DesktopListed();
    if (record) {
      auto request = win32::display::ReadRecord(*record);
      target = request ? win32::display::ChooseMode(screen_->modes, *request, CurrentListed()) : std::nullopt;
    }
    if (!target || std::ranges::find(screen_->refused, target->hardware) != screen_->refused.end()) {
      return DISP_CHANGE_BADMODE;
    }
    if (flags & CDS_TEST) return DISP_CHANGE_SUCCESSFUL;
    if (target->hardware != screen_->current) {
      screen_->applied.push_back(target->hardware);
      screen_->current = target->hardware;
    }
    bits_ = target->bitsPerPixel;
    return DISP_CHANGE_SUCCESSFUL;
  }

  ScreenMode Current() override {
    std::lock_guard lock(mutex_);
    return ToScreenMode(CurrentListed());
  }

  ScreenMode Desktop() override {
    std::lock_guard lock(mutex_);
    return ToScreenMode(DesktopListed());
  }

 private:
  static ScreenMode ToScreenMode(const ListedMode& m) {
    return {m.hardware.width, m.hardware.height, m.bitsPerPixel, m.hardware.refreshHz};
  }
  ListedMode CurrentListed() const { return {screen_->current, bits_.value_or(screen_->nativeBits)}; }
  ListedMode DesktopListed() const { return {screen_->desktop, screen_->nativeBits}; }

  std::mutex mutex_;
  std::shared_ptr<ScriptedScreen> screen_;
  std::vector<ListedMode> listed_;
  std::optional<int> bits_;
};

}  // namespace

std::shared_ptr<ScriptedScreen> UseScriptedDisplay(std::vector<HardwareMode> modes, HardwareMode current) {
  auto screen = std::make_shared<ScriptedScreen>();
  screen->modes = std::move(modes);
  screen->current = current;
  screen->desktop = current;
  win32::display::UseDisplaySettings(std::make_unique<ScriptedSettings>(screen));
  return screen;
}

}  // namespace porongo::testing
