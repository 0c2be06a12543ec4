// The records EnumDisplaySettingsA lists and the choice of a mode for the fields that a
// ChangeDisplaySettingsA record flags.
#pragma once

#include <optional>
#include <vector>

#include "platform/user32/display/output.h"
#include "platform/win32.h"

namespace win32::display {

// A size and refresh rate a screen can run at; the colour depth is listed separately.
struct HardwareMode {
  int width = 0;
  int height = 0;
  int refreshHz = 0;  // rounded to whole hertz; 0 when unknown
  bool interlaced = false;

  friend bool operator==(const HardwareMode&, const HardwareMode&) = default;
};

// Windows lists every mode at 8, 16 and 32 bits per pixel for a program without a
// Windows 8 manifest, and emulates the depths the screen does not have.
inline constexpr int kListedDepths[] = {8, 16, 32};

// The name Windows gives the primary display device.
inline constexpr char kPrimaryDeviceName[] = "\\\\.\\DISPLAY1";

struct ListedMode {
  HardwareMode hardware;
  int bitsPerPixel = 0;

  friend bool operator==(const ListedMode&, const ListedMode&) = default;
};

// The modes Windows offers on a monitor of the output's size: the standard sizes from
// 640x480 up to the output's own, and the output's own mode, at the output's refresh rate.
std::vector<HardwareMode> StandardModes(const OutputMode& output);

// The hardware modes sorted by width, height, refresh rate and interlacing, duplicates
// dropped, each listed at the three depths in turn.
std::vector<ListedMode> ListModes(std::vector<HardwareMode> modes);

// Fills the whole 148-byte record, as EnumDisplaySettingsA does.
void FillRecord(DEVMODEA& record, const ListedMode& mode);

// What a record asks for: a field is set only when dmFields flags it.
struct ModeRequest {
  std::optional<int> width;
  std::optional<int> height;
  std::optional<int> bitsPerPixel;
  std::optional<int> refreshHz;  // not set for 0 and 1, which mean "the hardware's default"
  std::optional<bool> interlaced;
};
// Nothing for a record whose dmSize is too small to hold the display fields.
std::optional<ModeRequest> ReadRecord(const DEVMODEA& record);

// The mode that a request means, given the mode in force: fields not asked for keep their
// current values where the size allows (the current refresh rate, else the lowest one the
// size has; progressive before interlaced). Nothing when no mode fits.
std::optional<ListedMode> ChooseMode(const std::vector<HardwareMode>& modes, const ModeRequest& request,
                                     const ListedMode& current);

}  // namespace win32::display
