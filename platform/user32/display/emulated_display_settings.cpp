#include "platform/user32/display/emulated_display_settings.h"

namespace win32::display {
namespace {

// Flags that ask for the settings to be stored for later sessions. There is no registry to
// store them in.
constexpr DWORD kStoringFlags = CDS_UPDATEREGISTRY | CDS_GLOBAL | CDS_SET_PRIMARY | CDS_NORESET;
constexpr DWORD kKnownFlags = CDS_TEST | CDS_FULLSCREEN | CDS_RESET | kStoringFlags;

ScreenMode ToScreenMode(const ListedMode& mode) {
  return {mode.hardware.width, mode.hardware.height, mode.bitsPerPixel, mode.hardware.refreshHz};
}

}  // namespace

bool EmulatedDisplaySettings::Enumerate(DWORD index, DEVMODEA& record) {
  std::lock_guard lock(mutex_);
  if (index == ENUM_CURRENT_SETTINGS) {
    FillRecord(record, CurrentListed());
    return true;
  }
  if (index == ENUM_REGISTRY_SETTINGS) {
    FillRecord(record, DesktopListed());
    return true;
  }
  if (index == 0 || !listRead_) {
    listed_ = ListModes(StandardModes(output_->Mode()));
    listRead_ = true;
  }
  if (index >= listed_.size()) return false;
  FillRecord(record, listed_[index]);
  return true;
}

LONG EmulatedDisplaySettings::Change(const DEVMODEA* record, DWORD flags) {
  std::lock_guard lock(mutex_);
  if (flags & ~kKnownFlags) return DISP_CHANGE_BADFLAGS;
  bool test = (flags & CDS_TEST) != 0;
  if (!record) {
    if (!test) emulated_.reset();
    return DISP_CHANGE_SUCCESSFUL;
  }
  std::optional<ModeRequest> request = ReadRecord(*record);
  if (!request) return DISP_CHANGE_BADMODE;
  std::optional<ListedMode> target = ChooseMode(StandardModes(output_->Mode()), *request, CurrentListed());
  if (!target) return DISP_CHANGE_BADMODE;
  if (test) return DISP_CHANGE_SUCCESSFUL;
  // Storing only, without switching now: nothing can be done.
  if (flags & CDS_NORESET) return DISP_CHANGE_NOTUPDATED;
  emulated_.reset();
  if (*target != DesktopListed()) emulated_ = target;
  // The switch happened; that it could not be stored is what the caller must hear.
  return (flags & kStoringFlags) ? DISP_CHANGE_NOTUPDATED : DISP_CHANGE_SUCCESSFUL;
}

ScreenMode EmulatedDisplaySettings::Current() {
  std::lock_guard lock(mutex_);
  return ToScreenMode(CurrentListed());
}

ScreenMode EmulatedDisplaySettings::Desktop() {
  std::lock_guard lock(mutex_);
  return ToScreenMode(DesktopListed());
}

ListedMode EmulatedDisplaySettings::DesktopListed() {
  OutputMode output = output_->Mode();
  return {{output.width, output.height, output.refreshHz, false}, output.bitsPerPixel};
}

ListedMode EmulatedDisplaySettings::CurrentListed() { return emulated_.value_or(DesktopListed()); }

}  // namespace win32::display
