// A compact text notation for one bar of music, so that a score reads like a lead sheet:
//
//   "E5:8 G5:8 C6:4 r:4 C4+E4+G4:2."
//
// Each item is a pitch (letter, optional # or b, octave; C4 is middle C), a rest "r", a
// chord of pitches joined by '+', or a drum name (kick, snare, hat, ...), then ':' and a
// duration: 1, 2, 4, 8, 16 or 32 for whole to thirty-second notes, '.' for dotted.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace porongo::audio {

struct ScoreNote {
  std::uint32_t start = 0;   // ticks from the start of the bar
  std::uint32_t length = 0;  // ticks
  int key = 0;               // MIDI key number
  int velocity = 0;          // 0 for pitches: the part's own; drums bring their own

  bool operator==(const ScoreNote&) const = default;
};

class NotationError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The notes of one bar. The durations must add up to `bar_ticks` exactly; anything that
// does not parse, or a bar of the wrong length, throws NotationError.
std::vector<ScoreNote> ParseBar(std::string_view bar, std::uint32_t ticks_per_quarter, std::uint32_t bar_ticks);

// The MIDI key of a single pitch or drum name ("C4" is 60, "kick" is 36), and the velocity
// the name implies (0 for pitches); throws NotationError for anything else.
ScoreNote ParsePitch(std::string_view name);

}  // namespace porongo::audio
