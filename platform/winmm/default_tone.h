// The sound played when a sound to be played cannot be found or read: a short, soft
// two-note chime, made here so that it is always there.
#pragma once

#include <memory>

#include "platform/winmm/pcm_source.h"

namespace win32::winmm {

std::unique_ptr<PcmSource> MakeDefaultTone();

}  // namespace win32::winmm
