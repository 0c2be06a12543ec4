// The General MIDI sound font that MIDI files are rendered with.
#pragma once

#include <string>
#include <vector>

namespace win32::winmm {

// Where to look, in order: the fonts named by SDL_SOUNDFONTS (`sdl_soundfonts`, a list
// separated by ':' or ';', may be null), then Debian's small TimGM6mb, then its
// FluidR3 GM font, then whatever Debian's default-GM alternative points to.
std::vector<std::string> SoundFontCandidates(const char* sdl_soundfonts);

}  // namespace win32::winmm
