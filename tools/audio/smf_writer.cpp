#include "tools/audio/smf_writer.h"

#include <algorithm>
#include <stdexcept>

namespace porongo::audio {
namespace {

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint8_t Data(int value) {
  if (value < 0 || value > 127) throw std::out_of_range("MIDI data byte out of range");
  return static_cast<std::uint8_t>(value);
}

std::uint8_t Status(int kind, int channel) {
  if (channel < 0 || channel > 15) throw std::out_of_range("MIDI channel out of range");
  return static_cast<std::uint8_t>(kind | channel);
}

// Appends a variable-length quantity (at most 0x0FFFFFFF).
void AppendQuantity(std::vector<std::uint8_t>& out, std::uint32_t value) {
  if (value > 0x0FFFFFFF) throw std::out_of_range("variable-length quantity too large");
  std::uint8_t groups[4];
  int count = 0;
  do {
    groups[count++] = value & 0x7F;
    value >>= 7;
  } while (value);
  while (count > 1) out.push_back(groups[--count] | 0x80);
  out.push_back(groups[0]);
}

}  // namespace

void MidiTrack::Add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes) {
  events_.push_back({tick, order, std::move(bytes)});
}

void MidiTrack::NoteOn(std::uint32_t tick, int channel, int key, int velocity) {
  Add(tick, 2, {Status(0x90, channel), Data(key), Data(velocity)});
}

void MidiTrack::NoteOff(std::uint32_t tick, int channel, int key) {
  Add(tick, 0, {Status(0x80, channel), Data(key), 0x40});
}

void MidiTrack::ProgramChange(std::uint32_t tick, int channel, int program) {
  Add(tick, 1, {Status(0xC0, channel), Data(program)});
}

void MidiTrack::Controller(std::uint32_t tick, int channel, int controller, int value) {
  Add(tick, 1, {Status(0xB0, channel), Data(controller), Data(value)});
}

void MidiTrack::Tempo(std::uint32_t tick, std::uint32_t micros_per_quarter) {
  Add(tick, 1,
      {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(micros_per_quarter >> 16),
       static_cast<std::uint8_t>(micros_per_quarter >> 8), static_cast<std::uint8_t>(micros_per_quarter)});
}

void MidiTrack::TimeSignature(std::uint32_t tick, int numerator, int denominator_power) {
  Add(tick, 1, {0xFF, 0x58, 0x04, Data(numerator), Data(denominator_power), 24, 8});
}

void MidiTrack::Name(std::string_view name) {
  std::vector<std::uint8_t> bytes = {0xFF, 0x03};
  AppendQuantity(bytes, static_cast<std::uint32_t>(name.size()));
  bytes.insert(bytes.end(), name.begin(), name.end());
  Add(0, 1, std::move(bytes));
}

std::vector<std::uint8_t> MidiTrack::Encode() const {
  std::vector<Event> events = events_;
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });

  std::vector<std::uint8_t> body;
  std::uint32_t now = 0;
  std::uint8_t running = 0;
  for (const Event& event : events) {
    AppendQuantity(body, event.tick - now);
    now = event.tick;
    const std::uint8_t status = event.bytes[0];
    if (status < 0xF0 && status == running) {
      body.insert(body.end(), event.bytes.begin() + 1, event.bytes.end());
    } else {
      body.insert(body.end(), event.bytes.begin(), event.bytes.end());
      // Meta and system exclusive events cancel running status.
      running = status < 0xF0 ? status : 0;
    }
  }
  AppendQuantity(body, std::max(end_, now) - now);
  body.insert(body.end(), {0xFF, 0x2F, 0x00});

  std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
  AppendBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<std::uint8_t> EncodeMidiFile(std::uint16_t ticks_per_quarter, const std::vector<MidiTrack>& tracks) {
  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd'};
  AppendBigEndian(file, 6, 4);
  AppendBigEndian(file, tracks.size() == 1 ? 0 : 1, 2);
  AppendBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
  AppendBigEndian(file, ticks_per_quarter, 2);
  for (const MidiTrack& track : tracks) {
    std::vector<std::uint8_t> chunk = track.Encode();
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

}  // namespace porongo::audio
