// The one format in which winmm mixes and plays: 44.1 kHz stereo, rendered as floats and
// sent to the device as signed 16-bit samples. Every sound is converted to it when loaded.
#pragma once

#include <cstdint>

namespace win32::winmm {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;

// Positions and lengths of sounds, in sample frames (one sample per channel).
using Frames = std::int64_t;

constexpr Frames MillisecondsToFrames(std::uint64_t ms) { return static_cast<Frames>(ms * kSampleRate / 1000); }

// Rounded down, so that a position never reads as later than it is.
constexpr std::uint64_t FramesToMilliseconds(Frames frames) {
  return static_cast<std::uint64_t>(frames) * 1000 / kSampleRate;
}

}  // namespace win32::winmm
