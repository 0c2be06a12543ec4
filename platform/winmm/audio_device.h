// The process's audio output: one SDL_mixer device, opened on first use, that plays the
// shared mixer through SDL_mixer's music hook. SDL_AUDIODRIVER chooses the driver
// (tests use "dummy", or "disk" to get the output as a file).
#pragma once

#include "platform/winmm/mixer.h"

namespace win32::winmm {

// The mixer that every sound of the process plays on.
Mixer& SharedMixer();

// Opens the device the first time it is called and says whether there is one; when there
// is none, says so once on stderr and keeps answering false.
bool OpenAudioDevice();

}  // namespace win32::winmm
