// The committed data files are what the generators make, and they sound as intended.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "platform/winmm/midi_file.h"
#include "platform/winmm/midi_source.h"
#include "platform/winmm/sound_font.h"
#include "tools/audio/bgm_score.h"
#include "tools/audio/bleep.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadDataFile(const char* name) {
  std::ifstream in(std::string(PORONGO_DATA_DIR) + "/" + name, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), {});
}

TEST(AudioData, TheCommittedFilesAreWhatTheGeneratorsMake) {
  const Bytes midi = porongo::audio::EncodeSong(porongo::audio::BgmScore());
  const Bytes wave = porongo::audio::EncodeBleepWave();
  EXPECT_FALSE(midi.empty());
  EXPECT_TRUE(ReadDataFile("bgm.mid") == midi) << "regenerate with: cmake --build build --target regenerate_audio";
  EXPECT_TRUE(ReadDataFile("BLEEP04.WAV") == wave) << "regenerate with: cmake --build build --target regenerate_audio";
}

TEST(AudioData, TheBleepIsAShortCleanSixteenBitWave) {
  const Bytes file = ReadDataFile("BLEEP04.WAV");
  ASSERT_GT(file.size(), 44u);
  auto u16 = [&](std::size_t at) { return file[at] | file[at + 1] << 8; };
  auto u32 = [&](std::size_t at) { return static_cast<std::uint32_t>(u16(at) | u16(at + 2) << 16); };
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
  EXPECT_EQ(u32(4), file.size() - 8);
  EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(u16(20), 1);  // PCM
  EXPECT_EQ(u16(22), 1);  // mono
  EXPECT_EQ(u32(24), 44100u);
  EXPECT_EQ(u16(34), 16);

  const std::vector<std::int16_t> samples = porongo::audio::SynthesiseBleep();
  const double seconds = static_cast<double>(samples.size()) / 44100;
  EXPECT_GE(seconds, 0.08);
  EXPECT_LE(seconds, 0.15);
  int peak = 0, largest_step = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    if (i) largest_step = std::max(largest_step, std::abs(samples[i] - samples[i - 1]));
  }
  EXPECT_GT(peak, 32767 / 2);       // bright and clear over the music
  EXPECT_LT(peak, 32767 * 9 / 10);  // yet not clipping
  // No clicks: it starts and ends at silence and never jumps.
  EXPECT_LT(std::abs(samples.front()), 200);
  EXPECT_LT(std::abs(samples.back()), 50);
  EXPECT_LT(largest_step, 12000);
}

TEST(AudioData, TheMusicIsAFourPartLoopOfHalfAMinuteOrMore) {
  std::string why;
  auto song = win32::winmm::ParseMidiFile(ReadDataFile("bgm.mid"), why);
  ASSERT_TRUE(song) << why;
  EXPECT_GE(song->length_micros, 30'000'000);
  EXPECT_LE(song->length_micros, 60'000'000);

  std::set<int> channels;
  std::map<std::pair<int, int>, int> sounding;  // (channel, key) -> notes on
  for (const auto& event : song->events) {
    const int kind = event.status & 0xF0, channel = event.status & 0x0F;
    if (kind == 0x90 && event.data2 > 0) {
      channels.insert(channel);
      ++sounding[{channel, event.data1}];
    } else if (kind == 0x80 || kind == 0x90) {
      --sounding[{channel, event.data1}];
    }
    EXPECT_LE(event.micros, song->length_micros);
  }
  EXPECT_EQ(channels, (std::set<int>{0, 1, 2, 9}));  // melody, bass, chords, drums
  // Every note has ended by the loop point, so nothing hangs over into the repeat.
  for (const auto& [note, count] : sounding) EXPECT_EQ(count, 0) << note.first << "/" << note.second;
}

TEST(AudioData, TheMusicIsLoudEnoughAndNeverClips) {
  std::string why;
  auto song = win32::winmm::ParseMidiFile(ReadDataFile("bgm.mid"), why);
  ASSERT_TRUE(song) << why;
  auto source = win32::winmm::MidiSource::Create(std::make_shared<win32::winmm::MidiSong>(std::move(*song)),
                                                 win32::winmm::SoundFontCandidates(nullptr), why);
  ASSERT_TRUE(source) << why;
  std::vector<float> block(2 * 4096);
  double peak = 0, sum = 0;
  for (win32::winmm::Frames done = 0; done < source->Length(); done += 4096) {
    const int frames = static_cast<int>(std::min<win32::winmm::Frames>(4096, source->Length() - done));
    source->Render(block.data(), frames);
    for (int i = 0; i < 2 * frames; ++i) {
      peak = std::max(peak, static_cast<double>(std::abs(block[i])));
      sum += block[i] * block[i];
    }
  }
  const double rms_db = 10 * std::log10(sum / (2.0 * static_cast<double>(source->Length())));
  EXPECT_LT(peak, 0.9);
  EXPECT_GT(rms_db, -30.0);
  EXPECT_LT(rms_db, -14.0);
}

}  // namespace
