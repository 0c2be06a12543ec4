// The pickup sound: a short, bright blip of two rising tones.
#pragma once

#include <cstdint>
#include <vector>

namespace porongo::audio {

constexpr int kBleepSampleRate = 44100;

// Mono 16-bit samples at kBleepSampleRate.
std::vector<std::int16_t> SynthesiseBleep();

// The whole BLEEP04.WAV file.
std::vector<std::uint8_t> EncodeBleepWave();

}  // namespace porongo::audio
