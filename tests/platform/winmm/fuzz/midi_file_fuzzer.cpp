// Feeds arbitrary bytes to the MIDI file parser. Whatever it accepts must be a song the
// sequencer can play without looking anywhere outside it.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "platform/winmm/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string why;
  auto song = win32::winmm::ParseMidiFile(std::span(data, size), why);
  if (!song) {
    if (why.empty()) std::abort();
    return 0;
  }
  if (song->length_micros < 0 || song->length_micros > win32::winmm::kLongestSongMicros) std::abort();
  std::int64_t previous = 0;
  for (const auto& event : song->events) {
    if (event.micros < previous || event.micros > song->length_micros) std::abort();
    previous = event.micros;
    const bool sysex = event.status == 0xF0;
    if (!sysex && (event.status < 0x80 || event.status > 0xEF || event.data1 > 0x7F || event.data2 > 0x7F))
      std::abort();
    if (sysex && std::size_t{event.sysex_offset} + event.sysex_length > song->sysex.size()) std::abort();
  }
  return 0;
}
