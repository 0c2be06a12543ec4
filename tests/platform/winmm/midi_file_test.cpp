#include "platform/winmm/midi_file.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/platform/winmm/test_sounds.h"
#include "tools/audio/smf_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using win32::winmm::MidiSong;
using win32::winmm::ParseMidiFile;

Bytes Header(int format, int tracks, int division) {
  const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };
  return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, byte(format), 0, byte(tracks), byte(division >> 8), byte(division)};
}

Bytes Track(const Bytes& events) {
  Bytes chunk = {'M', 'T', 'r', 'k'};
  const auto size = static_cast<std::uint32_t>(events.size());
  for (int shift : {24, 16, 8, 0}) chunk.push_back(static_cast<std::uint8_t>(size >> shift));
  chunk.insert(chunk.end(), events.begin(), events.end());
  return chunk;
}

Bytes File(int division, std::initializer_list<Bytes> tracks) {
  Bytes file = Header(1, static_cast<int>(tracks.size()), division);
  for (const Bytes& track : tracks) {
    Bytes chunk = Track(track);
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

std::optional<MidiSong> Parse(const Bytes& bytes) {
  std::string why;
  return ParseMidiFile(bytes, why);
}

TEST(MidiFile, TimesFollowTheTempoMapOfAllTracks) {
  // 96 ticks a quarter. Track 0 halves the tempo at tick 192 (1 s at 120 bpm); track 1
  // plays at ticks 96, 192 and 288.
  const Bytes conductor = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        // 500000 us a quarter
                           0x81, 0x40, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,  // at 192: 1000000 us
                           0x00, 0xFF, 0x2F, 0x00};
  const Bytes notes = {0x60, 0x90, 60,   100,    // at 96: note on, then running status
                       0x60, 60,   0,            // at 192: note on velocity 0
                       0x60, 0xC3, 5,            // at 288: program change, one data byte
                       0x60, 0xFF, 0x2F, 0x00};  // ends at 384
  auto song = Parse(File(96, {conductor, notes}));
  ASSERT_TRUE(song);
  ASSERT_EQ(song->events.size(), 3u);
  EXPECT_EQ(song->events[0].micros, 500000);
  EXPECT_EQ(song->events[1].micros, 1000000);
  EXPECT_EQ(song->events[1].status, 0x90);
  EXPECT_EQ(song->events[1].data2, 0);
  EXPECT_EQ(song->events[2].micros, 2000000);
  EXPECT_EQ(song->events[2].status, 0xC3);
  EXPECT_EQ(song->events[2].data1, 5);
  EXPECT_EQ(song->length_micros, 3000000);
}

TEST(MidiFile, SimultaneousEventsKeepTrackOrderAndSmpteTimeWorks) {
  // 25 frames a second, 40 ticks a frame: 1000 ticks a second.
  const Bytes first = {0x87, 0x68, 0xB0, 7, 100, 0x00, 0xFF, 0x2F, 0x00};  // at 1000
  const Bytes second = {0x87, 0x68, 0x91, 64, 90, 0x00, 0xFF, 0x2F, 0x00};
  auto song = Parse(File(0xE728, {second, first}));
  ASSERT_TRUE(song);
  ASSERT_EQ(song->events.size(), 2u);
  EXPECT_EQ(song->events[0].status, 0x91);
  EXPECT_EQ(song->events[1].status, 0xB0);
  EXPECT_EQ(song->events[0].micros, 1000000);
  EXPECT_EQ(song->length_micros, 1000000);
}

TEST(MidiFile, KeepsSystemExclusiveMessagesAndSkipsUnknownChunks) {
  const Bytes track = {0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7,  // General MIDI on
                       0x00, 0xF7, 0x02, 0x01, 0x02,                    // an escape: not played
                       0x00, 0xFF, 0x2F, 0x00};
  Bytes file = Header(0, 1, 96);
  const Bytes unknown = {'X', 'y', 'z', 'w', 0, 0, 0, 3, 1, 2, 3};
  file.insert(file.end(), unknown.begin(), unknown.end());
  Bytes chunk = Track(track);
  file.insert(file.end(), chunk.begin(), chunk.end());
  auto song = Parse(file);
  ASSERT_TRUE(song);
  ASSERT_EQ(song->events.size(), 1u);
  const auto& sysex = song->events[0];
  EXPECT_EQ(sysex.status, 0xF0);
  ASSERT_EQ(sysex.sysex_length, 4u);
  EXPECT_EQ(Bytes(song->sysex.begin() + sysex.sysex_offset, song->sysex.begin() + sysex.sysex_offset + 4),
            (Bytes{0x7E, 0x7F, 0x09, 0x01}));
}

TEST(MidiFile, ReadsRmidFiles) {
  const Bytes smf = winmm_test::ScaleMidi(2, 0.5);
  Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
  const auto size = static_cast<std::uint32_t>(smf.size());
  for (int shift : {0, 8, 16, 24}) riff.push_back(static_cast<std::uint8_t>(size >> shift));
  riff.insert(riff.end(), smf.begin(), smf.end());
  auto song = Parse(riff);
  ASSERT_TRUE(song);
  EXPECT_EQ(song->length_micros, 1000000);
}

TEST(MidiFile, RefusesDamagedFiles) {
  const Bytes end = {0x00, 0xFF, 0x2F, 0x00};
  struct Case {
    const char* what;
    Bytes file;
  } cases[] = {
      {"empty", {}},
      {"not midi", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
      {"short header", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1}},
      {"header longer than the file", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 9, 0, 1, 0, 1, 0, 96}},
      {"format 2",
       [] {
         Bytes f = File(96, {{0x00, 0xFF, 0x2F, 0x00}});
         f[9] = 2;
         return f;
       }()},
      {"division zero", File(0, {end})},
      {"bad frame rate", File(0xE628, {end})},
      {"no tracks", Header(1, 0, 96)},
      {"track longer than the file",
       [&] {
         Bytes f = File(96, {end});
         f.back() = 0x7F;
         f[f.size() - 5] = 0x40;  // length byte of the track chunk
         return f;
       }()},
      {"quantity of five bytes", File(96, {{0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 1}})},
      {"delta cut short", File(96, {{0x81}})},
      {"data byte before any status", File(96, {{0x00, 60, 100}})},
      {"note cut short", File(96, {{0x00, 0x90, 60}})},
      {"data byte with the top bit", File(96, {{0x00, 0x90, 60, 0x80}})},
      {"meta longer than the track", File(96, {{0x00, 0xFF, 0x01, 0x10, 'a'}})},
      {"sysex longer than the track", File(96, {{0x00, 0xF0, 0x7F, 0x01}})},
      {"tempo of the wrong size", File(96, {{0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}})},
      {"tempo of zero", File(96, {{0x00, 0xFF, 0x51, 0x03, 0, 0, 0}})},
      {"real-time byte in a track", File(96, {{0x00, 0xF8}})},
      {"a day long", File(1, {{0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF, 0x8F, 0xFF, 0xFF, 0x7F, 0xFF, 0x2F, 0x00}})},
      {"rmid without data", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'R', 'M', 'I', 'D'}},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(ParseMidiFile(c.file, why)) << c.what;
    EXPECT_FALSE(why.empty()) << c.what;
  }
}

TEST(MidiFile, EveryTruncationAndCorruptionIsHandled) {
  const Bytes good = winmm_test::ScaleMidi(4, 0.25);
  ASSERT_TRUE(Parse(good));
  // Cut anywhere inside the track chunk, the file no longer fits its chunk length.
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(Parse(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)))) << size;
  }
  // Random damage must give an answer, whatever it is; the sanitizers and the fuzzer
  // check that no answer reads beyond the bytes.
  std::mt19937 random(1234);
  for (int round = 0; round < 2000; ++round) {
    Bytes damaged = good;
    for (int hits = 0; hits < 4; ++hits) damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
    if (auto song = Parse(damaged)) {
      EXPECT_LE(song->length_micros, win32::winmm::kLongestSongMicros);
      for (const auto& event : song->events) EXPECT_LE(event.micros, song->length_micros);
    }
  }
}

}  // namespace
