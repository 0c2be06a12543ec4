// Display modes emulated on a real output, as current Wine, Proton and SDL's Wayland back end
// do: the modes listed are those Windows offers on a monitor of the output's size, and a
// change makes one of them this program's own without touching the output. The windows that
// cover the emulated screen are shown scaled on the real one (screen_view.h), so there is
// never anything to give back to the desktop, whatever way the program ends.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/user32/display/display_settings.h"
#include "platform/user32/display/mode_list.h"
#include "platform/user32/display/output.h"

namespace win32::display {

class EmulatedDisplaySettings final : public DisplaySettings {
 public:
  explicit EmulatedDisplaySettings(std::unique_ptr<Output> output) : output_(std::move(output)) {}

  bool Enumerate(DWORD index, DEVMODEA& record) override;
  LONG Change(const DEVMODEA* record, DWORD flags) override;
  ScreenMode Current() override;
  ScreenMode Desktop() override;

 private:
  ListedMode DesktopListed();
  ListedMode CurrentListed();

  std::mutex mutex_;
  std::unique_ptr<Output> output_;
  std::vector<ListedMode> listed_;
  bool listRead_ = false;
  std::optional<ListedMode> emulated_;  // a mode other than the desktop's, in force
};

}  // namespace win32::display
