#include "platform/user32/display/mode_list.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace win32::display {
namespace {

auto SortKey(const HardwareMode& m) { return std::tuple(m.width, m.height, m.refreshHz, m.interlaced); }

bool IsListedDepth(int bits) { return std::ranges::find(kListedDepths, bits) != std::end(kListedDepths); }

// Where the fields that EnumDisplaySettingsA fills and ChangeDisplaySettingsA reads end.
constexpr std::size_t kDisplayFieldsEnd = offsetof(DEVMODEA, dmDisplayFrequency) + sizeof(DWORD);

// Sizes that Windows offers on monitors and panels: the VESA and CEA modes that graphics
// drivers list, 4:3, 5:4, 16:10 and 16:9.
constexpr struct {
  int width;
  int height;
} kStandardSizes[] = {
    {640, 480},   {720, 480},   {720, 576},   {800, 600},   {1024, 768},  {1152, 864},  {1280, 720},
    {1280, 768},  {1280, 800},  {1280, 960},  {1280, 1024}, {1360, 768},  {1366, 768},  {1400, 1050},
    {1440, 900},  {1600, 900},  {1600, 1200}, {1680, 1050}, {1920, 1080}, {1920, 1200}, {2048, 1152},
    {2560, 1080}, {2560, 1440}, {2560, 1600}, {3440, 1440}, {3840, 2160}, {5120, 2880}, {7680, 4320},
};

}  // namespace

std::vector<HardwareMode> StandardModes(const OutputMode& output) {
  std::vector<HardwareMode> modes;
  for (auto [width, height] : kStandardSizes) {
    if (width <= output.width && height <= output.height) modes.push_back({width, height, output.refreshHz, false});
  }
  modes.push_back({output.width, output.height, output.refreshHz, false});
  return modes;
}

std::vector<ListedMode> ListModes(std::vector<HardwareMode> modes) {
  std::ranges::sort(modes, [](const auto& a, const auto& b) { return SortKey(a) < SortKey(b); });
  auto [first, last] = std::ranges::unique(modes);
  modes.erase(first, last);
  std::vector<ListedMode> listed;
  listed.reserve(modes.size() * std::size(kListedDepths));
  for (const HardwareMode& mode : modes) {
    for (int bits : kListedDepths) listed.push_back({mode, bits});
  }
  return listed;
}

void FillRecord(DEVMODEA& record, const ListedMode& mode) {
  std::memset(&record, 0, sizeof record);
  std::memcpy(record.dmDeviceName, kPrimaryDeviceName, sizeof kPrimaryDeviceName);
  record.dmSpecVersion = DM_SPECVERSION;
  record.dmSize = sizeof(DEVMODEA);
  record.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
  record.dmBitsPerPel = static_cast<DWORD>(mode.bitsPerPixel);
  record.dmPelsWidth = static_cast<DWORD>(mode.hardware.width);
  record.dmPelsHeight = static_cast<DWORD>(mode.hardware.height);
  record.dmDisplayFlags = mode.hardware.interlaced ? DM_INTERLACED : 0;
  record.dmDisplayFrequency = static_cast<DWORD>(mode.hardware.refreshHz);
}

std::optional<ModeRequest> ReadRecord(const DEVMODEA& record) {
  if (record.dmSize < kDisplayFieldsEnd) return std::nullopt;
  ModeRequest request;
  DWORD fields = record.dmFields;
  if (fields & DM_PELSWIDTH) request.width = static_cast<int>(record.dmPelsWidth);
  if (fields & DM_PELSHEIGHT) request.height = static_cast<int>(record.dmPelsHeight);
  if (fields & DM_BITSPERPEL) request.bitsPerPixel = static_cast<int>(record.dmBitsPerPel);
  if ((fields & DM_DISPLAYFREQUENCY) && record.dmDisplayFrequency > 1) {
    request.refreshHz = static_cast<int>(record.dmDisplayFrequency);
  }
  if (fields & DM_DISPLAYFLAGS) request.interlaced = (record.dmDisplayFlags & DM_INTERLACED) != 0;
  return request;
}

std::optional<ListedMode> ChooseMode(const std::vector<HardwareMode>& modes, const ModeRequest& request,
                                     const ListedMode& current) {
  int bits = request.bitsPerPixel.value_or(current.bitsPerPixel);
  if (!IsListedDepth(bits)) return std::nullopt;
  int width = request.width.value_or(current.hardware.width);
  int height = request.height.value_or(current.hardware.height);
  // Without an explicit rate, the current one is kept if this size has it.
  bool rateAsked = request.refreshHz.has_value();
  int rate = request.refreshHz.value_or(current.hardware.refreshHz);

  const HardwareMode* best = nullptr;
  auto rank = [&](const HardwareMode& m) {
    // Lower is better: the wanted rate, then progressive, then the lowest rate.
    return std::tuple(m.refreshHz != rate, m.interlaced, m.refreshHz);
  };
  for (const HardwareMode& m : modes) {
    if (m.width != width || m.height != height) continue;
    if (request.interlaced && m.interlaced != *request.interlaced) continue;
    if (rateAsked && m.refreshHz != rate) continue;
    if (!best || rank(m) < rank(*best)) best = &m;
  }
  if (!best) return std::nullopt;
  return ListedMode{*best, bits};
}

}  // namespace win32::display
