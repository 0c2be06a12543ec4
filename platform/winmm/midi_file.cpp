#include "platform/winmm/midi_file.h"

#include <algorithm>
#include <cstring>

namespace win32::winmm {
namespace {

// Reads big- and little-endian numbers and variable-length quantities, refusing to read
// past the end of its bytes.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Left() const { return bytes_.size() - pos_; }
  bool AtEnd() const { return pos_ == bytes_.size(); }

  bool Byte(std::uint8_t& out) {
    if (Left() < 1) return false;
    out = bytes_[pos_++];
    return true;
  }
  bool Tag(char (&out)[5]) {
    if (Left() < 4) return false;
    std::memcpy(out, &bytes_[pos_], 4);
    out[4] = '\0';
    pos_ += 4;
    return true;
  }
  bool BigEndian(int size, std::uint32_t& out) {
    if (Left() < static_cast<std::size_t>(size)) return false;
    out = 0;
    for (int i = 0; i < size; ++i) out = out << 8 | bytes_[pos_++];
    return true;
  }
  bool LittleEndian32(std::uint32_t& out) {
    if (Left() < 4) return false;
    out = 0;
    for (int i = 3; i >= 0; --i) out = out << 8 | bytes_[pos_ + i];
    pos_ += 4;
    return true;
  }
  // At most four bytes, so at most 0x0FFFFFFF.
  bool Quantity(std::uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t b;
      if (!Byte(b)) return false;
      out = out << 7 | (b & 0x7F);
      if (!(b & 0x80)) return true;
    }
    return false;
  }
  bool Take(std::size_t size, std::span<const std::uint8_t>& out) {
    if (Left() < size) return false;
    out = bytes_.subspan(pos_, size);
    pos_ += size;
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

bool Fail(std::string& why, std::string text) {
  why = std::move(text);
  return false;
}

struct TimedEvent {
  std::uint64_t tick;
  MidiEvent event;
};

struct TempoChange {
  std::uint64_t tick;
  std::uint32_t micros_per_quarter;
};

struct Timing {
  bool smpte = false;
  double ticks_per_quarter = 0;
  double ticks_per_second = 0;
};

struct Parsed {
  std::vector<TimedEvent> events;
  std::vector<TempoChange> tempi;
  std::vector<std::uint8_t> sysex;
  std::uint64_t last_tick = 0;
};

std::optional<std::span<const std::uint8_t>> UnwrapRmid(std::span<const std::uint8_t> bytes, std::string& why) {
  ByteReader riff(bytes);
  char tag[5];
  std::uint32_t size;
  riff.Tag(tag);
  if (!riff.LittleEndian32(size) || !riff.Tag(tag) || std::strcmp(tag, "RMID") != 0) {
    why = "not a MIDI file";
    return std::nullopt;
  }
  while (riff.Left() >= 8) {
    riff.Tag(tag);
    riff.LittleEndian32(size);
    std::span<const std::uint8_t> body;
    if (!riff.Take(size, body)) break;
    if (std::strcmp(tag, "data") == 0) return body;
    std::span<const std::uint8_t> pad;
    if (size % 2) riff.Take(1, pad);
  }
  why = "RMID file without a complete data chunk";
  return std::nullopt;
}

bool ParseTrack(std::span<const std::uint8_t> track, Parsed& out, std::string& why) {
  ByteReader in(track);
  std::uint64_t tick = 0;
  std::uint8_t running = 0;
  while (!in.AtEnd()) {
    std::uint32_t delta;
    std::uint8_t first;
    if (!in.Quantity(delta)) return Fail(why, "bad delta time");
    if (!in.Byte(first)) return Fail(why, "event cut short");
    tick += delta;

    if (first == 0xFF) {
      std::uint8_t type;
      std::uint32_t length;
      std::span<const std::uint8_t> data;
      if (!in.Byte(type) || !in.Quantity(length) || !in.Take(length, data)) return Fail(why, "meta event cut short");
      if (type == 0x2F) break;  // end of track
      if (type == 0x51) {
        if (length != 3) return Fail(why, "bad tempo event");
        std::uint32_t tempo = std::uint32_t{data[0]} << 16 | std::uint32_t{data[1]} << 8 | data[2];
        if (tempo == 0) return Fail(why, "tempo of zero");
        out.tempi.push_back({tick, tempo});
      }
      continue;
    }
    if (first == 0xF0 || first == 0xF7) {
      std::uint32_t length;
      std::span<const std::uint8_t> data;
      if (!in.Quantity(length) || !in.Take(length, data)) return Fail(why, "system exclusive event cut short");
      // 0xF7 packets continue a message or carry raw bytes; only whole messages are played.
      if (first == 0xF0) {
        if (!data.empty() && data.back() == 0xF7) data = data.first(data.size() - 1);
        MidiEvent event{.status = 0xF0};
        event.sysex_offset = static_cast<std::uint32_t>(out.sysex.size());
        event.sysex_length = static_cast<std::uint32_t>(data.size());
        out.sysex.insert(out.sysex.end(), data.begin(), data.end());
        out.events.push_back({tick, event});
      }
      continue;
    }

    MidiEvent event;
    std::uint8_t data1 = first;
    if (first >= 0x80) {
      if (first >= 0xF0) return Fail(why, "unexpected system message in a track");
      running = first;
      if (!in.Byte(data1)) return Fail(why, "channel message cut short");
    } else if (running == 0) {
      return Fail(why, "data byte without a status byte");
    }
    event.status = running;
    event.data1 = data1;
    const std::uint8_t kind = running & 0xF0;
    if (kind != 0xC0 && kind != 0xD0 && !in.Byte(event.data2)) return Fail(why, "channel message cut short");
    if (event.data1 >= 0x80 || event.data2 >= 0x80) return Fail(why, "bad data byte in a channel message");
    out.events.push_back({tick, event});
  }
  out.last_tick = std::max(out.last_tick, tick);
  return true;
}

// Converts ticks to microseconds through the tempo map, which is sorted by tick.
class Clock {
 public:
  Clock(const Timing& timing, const std::vector<TempoChange>& tempi) : timing_(timing), tempi_(tempi) {}

  // Ticks must be asked for in increasing order.
  double Micros(std::uint64_t tick) {
    if (timing_.smpte) return static_cast<double>(tick) * 1e6 / timing_.ticks_per_second;
    while (next_ < tempi_.size() && tempi_[next_].tick <= tick) {
      base_micros_ += Span(tempi_[next_].tick);
      base_tick_ = tempi_[next_].tick;
      tempo_ = tempi_[next_].micros_per_quarter;
      ++next_;
    }
    return base_micros_ + Span(tick);
  }

 private:
  double Span(std::uint64_t tick) const {
    return static_cast<double>(tick - base_tick_) * tempo_ / timing_.ticks_per_quarter;
  }

  const Timing& timing_;
  const std::vector<TempoChange>& tempi_;
  std::size_t next_ = 0;
  std::uint64_t base_tick_ = 0;
  double base_micros_ = 0;
  double tempo_ = 500000;  // 120 quarter notes a minute until the file says otherwise
};

bool ParseSmf(std::span<const std::uint8_t> bytes, MidiSong& song, std::string& why) {
  if (bytes.size() >= 4 && std::memcmp(bytes.data(), "RIFF", 4) == 0) {
    auto inner = UnwrapRmid(bytes, why);
    if (!inner) return false;
    bytes = *inner;
  }

  ByteReader in(bytes);
  char tag[5];
  // The header's track count is not used: the MTrk chunks themselves are what is played.
  std::uint32_t header_length, format, track_count, division;
  if (!in.Tag(tag) || std::strcmp(tag, "MThd") != 0) return Fail(why, "not a MIDI file");
  if (!in.BigEndian(4, header_length) || header_length < 6 || !in.BigEndian(2, format) ||
      !in.BigEndian(2, track_count) || !in.BigEndian(2, division))
    return Fail(why, "damaged MIDI header");
  std::span<const std::uint8_t> rest_of_header;
  if (!in.Take(header_length - 6, rest_of_header)) return Fail(why, "damaged MIDI header");
  if (format > 1) return Fail(why, "MIDI file format " + std::to_string(format) + " is not supported");

  Timing timing;
  if (division & 0x8000) {
    const int frames_per_second = -static_cast<std::int8_t>(division >> 8);
    const int ticks_per_frame = division & 0xFF;
    if ((frames_per_second != 24 && frames_per_second != 25 && frames_per_second != 29 && frames_per_second != 30) ||
        ticks_per_frame == 0)
      return Fail(why, "bad time division");
    timing.smpte = true;
    timing.ticks_per_second = (frames_per_second == 29 ? 29.97 : frames_per_second) * ticks_per_frame;
  } else {
    if (division == 0) return Fail(why, "bad time division");
    timing.ticks_per_quarter = division;
  }

  Parsed parsed;
  int tracks = 0;
  while (in.Left() >= 8) {
    std::uint32_t length = 0;
    std::span<const std::uint8_t> body;
    in.Tag(tag);
    in.BigEndian(4, length);
    if (!in.Take(length, body)) return Fail(why, "chunk runs past the end of the file");
    if (std::strcmp(tag, "MTrk") != 0) continue;  // unknown chunks are skipped, as the format asks
    if (!ParseTrack(body, parsed, why)) return false;
    ++tracks;
  }
  if (tracks == 0) return Fail(why, "MIDI file without tracks");
  // Each track is in time order; the stable sort merges them so that events of earlier
  // tracks come first at the same tick.
  std::stable_sort(parsed.events.begin(), parsed.events.end(),
                   [](const TimedEvent& a, const TimedEvent& b) { return a.tick < b.tick; });
  std::stable_sort(parsed.tempi.begin(), parsed.tempi.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });

  const double length = Clock(timing, parsed.tempi).Micros(parsed.last_tick);
  if (!(length <= static_cast<double>(kLongestSongMicros))) return Fail(why, "song is implausibly long");

  Clock clock(timing, parsed.tempi);
  song.events.reserve(parsed.events.size());
  for (const TimedEvent& timed : parsed.events) {
    MidiEvent event = timed.event;
    event.micros = static_cast<std::int64_t>(clock.Micros(timed.tick));
    song.events.push_back(event);
  }
  song.length_micros = static_cast<std::int64_t>(length);
  song.sysex = std::move(parsed.sysex);
  return true;
}

}  // namespace

std::optional<MidiSong> ParseMidiFile(std::span<const std::uint8_t> bytes, std::string& why) {
  MidiSong song;
  if (!ParseSmf(bytes, song, why)) return std::nullopt;
  return song;
}

}  // namespace win32::winmm
