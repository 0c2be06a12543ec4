#include "tools/audio/song.h"

#include <algorithm>
#include <cmath>

#include "tools/audio/score_notation.h"
#include "tools/audio/smf_writer.h"

namespace porongo::audio {

std::vector<std::uint8_t> EncodeSong(const Song& song) {
  const std::uint32_t bar_ticks = kTicksPerQuarter * static_cast<std::uint32_t>(song.beats_per_bar);
  const std::size_t bars = song.parts.empty() ? 0 : song.parts.front().bars.size();
  const std::uint32_t end = static_cast<std::uint32_t>(bars) * bar_ticks;

  std::vector<MidiTrack> tracks(1);
  MidiTrack& conductor = tracks.front();
  conductor.Name(song.title);
  conductor.TimeSignature(0, song.beats_per_bar, 2);
  conductor.Tempo(0, static_cast<std::uint32_t>(60'000'000 / song.beats_per_minute));
  conductor.End(end);

  for (const Part& part : song.parts) {
    if (part.bars.size() != bars) throw NotationError("part \"" + part.name + "\" has a different number of bars");
    if (!(part.gate > 0 && part.gate <= 1)) throw NotationError("part \"" + part.name + "\" has a gate outside (0, 1]");
    MidiTrack& track = tracks.emplace_back();
    track.Name(part.name);
    if (part.channel != 9) track.ProgramChange(0, part.channel, part.program);
    track.Controller(0, part.channel, 7, part.volume);
    track.Controller(0, part.channel, 10, part.pan);
    track.Controller(0, part.channel, 91, part.reverb);
    for (std::size_t bar = 0; bar < bars; ++bar) {
      const std::uint32_t bar_start = static_cast<std::uint32_t>(bar) * bar_ticks;
      for (const ScoreNote& note : ParseBar(part.bars[bar], kTicksPerQuarter, bar_ticks)) {
        const std::uint32_t start = bar_start + note.start;
        const auto sounding =
            std::max<std::uint32_t>(1, static_cast<std::uint32_t>(std::lround(note.length * part.gate)));
        track.NoteOn(start, part.channel, note.key, note.velocity ? note.velocity : part.velocity);
        track.NoteOff(start + sounding, part.channel, note.key);
      }
    }
    track.End(end);
  }
  return EncodeMidiFile(kTicksPerQuarter, tracks);
}

}  // namespace porongo::audio
