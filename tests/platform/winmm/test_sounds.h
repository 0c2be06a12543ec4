// Sound files and measurements shared by the winmm tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/winmm/mixer.h"

namespace winmm_test {

// A wave file whose every sample has `value`: easy to recognise in a mix.
std::vector<std::uint8_t> ConstantWave(std::int16_t value, double seconds, int channels = 2, int rate = 44100);

// A MIDI file of a flute playing one note per segment (C5, D5, E5, F5, G5, A5, ... as
// many as `segments`), each `segment_seconds` long.
std::vector<std::uint8_t> ScaleMidi(int segments, double segment_seconds);
// The pitch of segment `index` of ScaleMidi, in hertz.
double ScalePitch(int index);
// Which segment's pitch is the strongest in `frames` frames of `audio` from `first`.
int LoudestScaleNote(const std::vector<std::int16_t>& audio, std::size_t first, std::size_t frames, int segments);

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
// A file name of the running test's own: its name followed by `suffix`.
std::string TestFile(const char* suffix);

// Renders `seconds` of the mixer's output in device-sized blocks; stereo samples.
std::vector<std::int16_t> Render(win32::winmm::Mixer& mixer, double seconds);

// Root mean square of samples [first, first + count) (clamped to the size), as a
// fraction of full scale.
double Rms(const std::vector<std::int16_t>& audio, std::size_t first, std::size_t count);
bool AllZero(const std::vector<std::int16_t>& audio, std::size_t first, std::size_t count);

constexpr std::size_t Samples(double seconds) { return static_cast<std::size_t>(seconds * 44100) * 2; }

}  // namespace winmm_test
