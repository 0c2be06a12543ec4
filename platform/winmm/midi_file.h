// Standard MIDI Files: checked byte by byte and turned into one timed list of events.
//
// The file comes from disk and may be anything; nothing in it reaches the synthesiser
// before it has passed this parser, which checks every length against the bytes that are
// really there.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace win32::winmm {

struct MidiEvent {
  std::int64_t micros = 0;  // from the start of the song
  std::uint8_t status = 0;  // 0x80-0xEF: a channel message; 0xF0: system exclusive
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
  // For system exclusive messages: where their bytes (without the leading 0xF0 and the
  // final 0xF7) are in MidiSong::sysex.
  std::uint32_t sysex_offset = 0;
  std::uint32_t sysex_length = 0;
};

struct MidiSong {
  std::vector<MidiEvent> events;  // in time order; simultaneous events in file order
  std::vector<std::uint8_t> sysex;
  std::int64_t length_micros = 0;  // up to the end of the longest track
};

// Larger files are not read at all.
constexpr std::size_t kLargestMidiFile = std::size_t{16} << 20;

// Songs longer than this are refused as damaged.
constexpr std::int64_t kLongestSongMicros = 24LL * 60 * 60 * 1000 * 1000;

// Parses a format 0 or 1 file, bare or wrapped in a RIFF "RMID" file. A damaged file gives
// nothing, and `why` says what is wrong with it.
std::optional<MidiSong> ParseMidiFile(std::span<const std::uint8_t> bytes, std::string& why);

}  // namespace win32::winmm
