#include "tools/audio/score_notation.h"

#include <gtest/gtest.h>

#include "tools/audio/song.h"

namespace {

using porongo::audio::NotationError;
using porongo::audio::ParseBar;
using porongo::audio::ParsePitch;
using porongo::audio::ScoreNote;

TEST(ScoreNotation, PitchesAndDrumNames) {
  struct Case {
    const char* name;
    int key;
  } cases[] = {{"C4", 60}, {"A4", 69},  {"C#4", 61}, {"Db4", 61},  {"B3", 59},  {"Cb4", 59},
               {"C-1", 0}, {"G9", 127}, {"A1", 33},  {"kick", 36}, {"hat", 42}, {"crash", 49}};
  for (const Case& c : cases) EXPECT_EQ(ParsePitch(c.name).key, c.key) << c.name;
  EXPECT_EQ(ParsePitch("C4").velocity, 0);
  EXPECT_GT(ParsePitch("snare").velocity, 0);
}

TEST(ScoreNotation, BarsBecomeTimedNotes) {
  // 480 ticks a quarter, a 4/4 bar of 1920.
  auto notes = ParseBar("E5:8 r:8 C4+E4+G4:4. kick:16 r:16 A4:4", 480, 1920);
  const std::vector<ScoreNote> expected = {
      {0, 240, 76, 0},   {480, 720, 60, 0},    {480, 720, 64, 0},
      {480, 720, 67, 0}, {1200, 120, 36, 108}, {1440, 480, 69, 0},
  };
  EXPECT_EQ(notes, expected);
  EXPECT_TRUE(ParseBar("r:1", 480, 1920).empty());
}

TEST(ScoreNotation, MistakesAreCaught) {
  const char* mistakes[] = {
      "C4:4 C4:4 C4:4",       // a beat short
      "C4:2 C4:2 C4:4",       // a beat long
      "C4:4 C4:4 C4:4 C4",    // no duration
      "C4:3 C4:4 C4:4 C4:4",  // no such duration
      "H4:4 C4:4 C4:4 C4:4",  // no such note
      "C:4 C4:4 C4:4 C4:4",   // no octave
      "C10:1",                // above the MIDI range
      "bongo:1",              // no such drum
      "C4+:1",                // chord with a missing pitch
  };
  for (const char* bar : mistakes) EXPECT_THROW(ParseBar(bar, 480, 1920), NotationError) << bar;
}

TEST(ScoreNotation, SongsRefusePartsOfDifferentLengths) {
  porongo::audio::Song song;
  song.parts = {{.name = "a", .bars = {"C4:1", "C4:1"}}, {.name = "b", .bars = {"C4:1"}}};
  EXPECT_THROW(porongo::audio::EncodeSong(song), NotationError);
}

}  // namespace
