// The background music: a cheerful loop in C major for square lead, bass, electric piano
// and drums.
#pragma once

#include "tools/audio/song.h"

namespace porongo::audio {

const Song& BgmScore();

}  // namespace porongo::audio
