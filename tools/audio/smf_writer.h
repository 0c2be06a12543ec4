// Writes Standard MIDI Files: tracks of timed events, encoded with delta times and
// running status.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace porongo::audio {

class MidiTrack {
 public:
  // Ticks are absolute. Events at the same tick are written note-offs first, then
  // everything else, then note-ons, so that a repeated note is never cut by its own end.
  void NoteOn(std::uint32_t tick, int channel, int key, int velocity);
  void NoteOff(std::uint32_t tick, int channel, int key);
  void ProgramChange(std::uint32_t tick, int channel, int program);
  void Controller(std::uint32_t tick, int channel, int controller, int value);
  void Tempo(std::uint32_t tick, std::uint32_t micros_per_quarter);
  void TimeSignature(std::uint32_t tick, int numerator, int denominator_power);
  void Name(std::string_view name);
  // The track ends here; without this it ends at its last event.
  void End(std::uint32_t tick) { end_ = tick; }

  // The MTrk chunk, header included.
  std::vector<std::uint8_t> Encode() const;

 private:
  struct Event {
    std::uint32_t tick;
    int order;  // 0 note-off, 1 other, 2 note-on
    std::vector<std::uint8_t> bytes;
  };
  void Add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes);

  std::vector<Event> events_;
  std::uint32_t end_ = 0;
};

// A whole file: format 0 for one track, format 1 for more.
std::vector<std::uint8_t> EncodeMidiFile(std::uint16_t ticks_per_quarter, const std::vector<MidiTrack>& tracks);

}  // namespace porongo::audio
