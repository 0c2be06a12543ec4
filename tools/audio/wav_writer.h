// Writes 16-bit PCM RIFF WAVE files.
#pragma once

#include <cstdint>
#include <vector>

namespace porongo::audio {

// `samples` are interleaved when `channels` > 1.
std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples, int channels, int sample_rate);

}  // namespace porongo::audio
