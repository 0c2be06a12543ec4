// Wave files, decoded into the mixing format.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/winmm/pcm_source.h"

namespace win32::winmm {

// Larger files are not read at all.
constexpr std::size_t kLargestWaveFile = std::size_t{128} << 20;

// Decodes a RIFF WAVE file (PCM, float, ADPCM, A-law, mu-law; any rate and channel
// count) and converts it to 44.1 kHz stereo. Null, with `why`, when it is not a wave file
// or is damaged, or plays for more than five minutes.
std::unique_ptr<PcmSource> DecodeWave(std::span<const std::uint8_t> bytes, std::string& why);

}  // namespace win32::winmm
