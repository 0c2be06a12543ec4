#include "scripted_display.h"

#include <algorithm>

namespace porongo::testing {
namespace {

class ScriptedBackend final : public win32::display::DisplayBackend {
 public:
  explicit ScriptedBackend(std::shared_ptr<ScriptedScreen> screen) : screen_(std::move(screen)) {}

  std::vector<HardwareMode> Modes() override { return screen_->modes; }
  HardwareMode Current() override { return screen_->current; }
  int NativeBitsPerPixel() override { return screen_->nativeBits; }
  bool CanApply(const HardwareMode& mode) override {
    return std::ranges::find(screen_->refused, mode) == screen_->refused.end();
  }
  bool Apply(const HardwareMode& mode) override {
    if (screen_->applyFails || !CanApply(mode)) return false;
    screen_->applied.push_back(mode);
    screen_->current = mode;
    return true;
  }
  std::string Snapshot() override {
    screen_->snapshots.push_back(screen_->current);
    return std::to_string(screen_->snapshots.size() - 1);
  }
  bool Restore(const std::string& snapshot) override {
    std::size_t index = std::stoul(snapshot);
    if (screen_->applyFails || index >= screen_->snapshots.size()) return false;
    screen_->current = screen_->snapshots[index];
    screen_->restored.push_back(screen_->current);
    return true;
  }

 private:
  std::shared_ptr<ScriptedScreen> screen_;
};

class ScriptedGuard final : public win32::display::RestoreGuard {
 public:
  explicit ScriptedGuard(std::shared_ptr<ScriptedGuards> guards) : guards_(std::move(guards)) {}
  void SetArmed(bool armed) override { guards_->states.push_back(armed); }

 private:
  std::shared_ptr<ScriptedGuards> guards_;
};

}  // namespace

std::shared_ptr<ScriptedScreen> UseScriptedDisplay(std::vector<HardwareMode> modes, HardwareMode current,
                                                   std::shared_ptr<ScriptedGuards> guards) {
  auto screen = std::make_shared<ScriptedScreen>();
  screen->modes = std::move(modes);
  screen->current = current;
  win32::display::GuardLauncher launcher;
  if (guards) {
    launcher = [guards](const std::string&) -> std::unique_ptr<win32::display::RestoreGuard> {
      ++guards->launched;
      guards->states.push_back(true);
      return std::make_unique<ScriptedGuard>(guards);
    };
  }
  win32::display::UseDisplayBackend(std::make_unique<ScriptedBackend>(screen), launcher);
  return screen;
}

}  // namespace porongo::testing
