#include "platform/user32/display/display_settings.h"

#include <utility>

#include "platform/common/immortal.h"

namespace win32::display {
namespace {

// Flags that ask for the settings to be stored for later sessions. There is no registry to
// store them in.
constexpr DWORD kStoringFlags = CDS_UPDATEREGISTRY | CDS_GLOBAL | CDS_SET_PRIMARY | CDS_NORESET;
constexpr DWORD kKnownFlags = CDS_TEST | CDS_FULLSCREEN | CDS_RESET | kStoringFlags;

struct Holder {
  std::mutex mutex;
  std::unique_ptr<DisplaySettings> settings;
};

Holder& TheHolder() {
  static Immortal<Holder> holder;
  return *holder;
}

}  // namespace

DisplaySettings::DisplaySettings(std::unique_ptr<DisplayBackend> backend, GuardLauncher launcher)
    : backend_(std::move(backend)), launchGuard_(std::move(launcher)) {}

bool DisplaySettings::Enumerate(DWORD index, DEVMODEA& record) {
  std::lock_guard lock(mutex_);
  if (index == ENUM_CURRENT_SETTINGS) {
    FillRecord(record, CurrentListed());
    return true;
  }
  if (index == ENUM_REGISTRY_SETTINGS) {
    FillRecord(record, {desktop_ ? desktop_->mode : backend_->Current(), backend_->NativeBitsPerPixel()});
    return true;
  }
  if (index == 0 || !listRead_) {
    listed_ = ListModes(backend_->Modes());
    listRead_ = true;
  }
  if (index >= listed_.size()) return false;
  FillRecord(record, listed_[index]);
  return true;
}

LONG DisplaySettings::Change(const DEVMODEA* record, DWORD flags) {
  std::lock_guard lock(mutex_);
  if (flags & ~kKnownFlags) return DISP_CHANGE_BADFLAGS;
  bool test = (flags & CDS_TEST) != 0;
  if (!record) return test ? DISP_CHANGE_SUCCESSFUL : RestoreDesktop();

  std::optional<ModeRequest> request = ReadRecord(*record);
  if (!request) return DISP_CHANGE_BADMODE;
  std::optional<ListedMode> target = ChooseMode(backend_->Modes(), *request, CurrentListed());
  if (!target) return DISP_CHANGE_BADMODE;
  bool sameHardware = target->hardware == backend_->Current();
  if (!sameHardware && !backend_->CanApply(target->hardware)) return DISP_CHANGE_BADMODE;
  if (test) return DISP_CHANGE_SUCCESSFUL;
  // Storing only, without switching now: nothing can be done.
  if (flags & CDS_NORESET) return DISP_CHANGE_NOTUPDATED;

  LONG result = sameHardware ? DISP_CHANGE_SUCCESSFUL : SwitchHardware(target->hardware);
  if (result != DISP_CHANGE_SUCCESSFUL) return result;
  // The X screen keeps its depth; another one is only what the program is told.
  emulatedBits_.reset();
  if (target->bitsPerPixel != backend_->NativeBitsPerPixel()) emulatedBits_ = target->bitsPerPixel;
  // The switch happened; that it could not be stored is what the caller must hear.
  return (flags & kStoringFlags) ? DISP_CHANGE_NOTUPDATED : DISP_CHANGE_SUCCESSFUL;
}

ScreenMode DisplaySettings::Current() {
  std::lock_guard lock(mutex_);
  ListedMode mode = CurrentListed();
  return {mode.hardware.width, mode.hardware.height, mode.bitsPerPixel, mode.hardware.refreshHz};
}

ListedMode DisplaySettings::CurrentListed() {
  return {backend_->Current(), emulatedBits_.value_or(backend_->NativeBitsPerPixel())};
}

LONG DisplaySettings::SwitchHardware(const HardwareMode& mode) {
  if (!desktop_) desktop_ = Desktop{backend_->Snapshot(), backend_->Current()};
  bool switched;
  if (mode == desktop_->mode) {
    // Back to the desktop's mode: its whole configuration, screen size included.
    switched = backend_->Restore(desktop_->snapshot);
  } else {
    // Armed before the switch, so that dying half-way through still brings the desktop back.
    if (guard_) {
      guard_->SetArmed(true);
    } else if (launchGuard_) {
      guard_ = launchGuard_(desktop_->snapshot);
    }
    switched = backend_->Apply(mode);
  }
  UpdateGuard();
  return switched ? DISP_CHANGE_SUCCESSFUL : DISP_CHANGE_FAILED;
}

LONG DisplaySettings::RestoreDesktop() {
  emulatedBits_.reset();
  if (!desktop_ || backend_->Current() == desktop_->mode) return DISP_CHANGE_SUCCESSFUL;
  bool restored = backend_->Restore(desktop_->snapshot);
  UpdateGuard();
  return restored ? DISP_CHANGE_SUCCESSFUL : DISP_CHANGE_FAILED;
}

void DisplaySettings::UpdateGuard() {
  if (guard_) guard_->SetArmed(desktop_ && backend_->Current() != desktop_->mode);
}

DisplaySettings& TheDisplaySettings() {
  Holder& holder = TheHolder();
  std::lock_guard lock(holder.mutex);
  if (!holder.settings) holder.settings = std::make_unique<DisplaySettings>(SystemBackend(), SystemGuardLauncher());
  return *holder.settings;
}

void UseDisplayBackend(std::unique_ptr<DisplayBackend> backend, GuardLauncher launcher) {
  Holder& holder = TheHolder();
  std::lock_guard lock(holder.mutex);
  holder.settings = std::make_unique<DisplaySettings>(std::move(backend), std::move(launcher));
}

}  // namespace win32::display
