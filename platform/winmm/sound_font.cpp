#include "platform/winmm/sound_font.h"

#include <string_view>

namespace win32::winmm {

std::vector<std::string> SoundFontCandidates(const char* sdl_soundfonts) {
  std::vector<std::string> candidates;
  if (sdl_soundfonts) {
    std::string_view list = sdl_soundfonts;
    while (!list.empty()) {
      std::size_t end = list.find_first_of(":;");
      std::string_view entry = list.substr(0, end);
      if (!entry.empty()) candidates.emplace_back(entry);
      list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    }
  }
  for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                           "/usr/share/sounds/sf2/default-GM.sf2"})
    candidates.emplace_back(path);
  return candidates;
}

}  // namespace win32::winmm
