#include "tools/audio/bgm_score.h"

namespace porongo::audio {
namespace {

// 24 bars at 140 beats a minute: 41 seconds. Three eight-bar sections, A B A'; the last
// bar turns on G7 and a drum fill, so that the first bar follows it naturally.
//
//   A   C    Am   F    G    C    Am   F G  C
//   B   F    G    Em   Am   Dm   G    C    G7
//   A'  C    Am   F    G    C    Am   Dm G G7

// Bass lines: octave jumps in eighths.
const char* const kBassC = "C2:8 C3:8 G2:8 C3:8 C2:8 C3:8 G2:8 C3:8";
const char* const kBassAm = "A1:8 A2:8 E2:8 A2:8 A1:8 A2:8 E2:8 A2:8";
const char* const kBassF = "F1:8 F2:8 C2:8 F2:8 F1:8 F2:8 C2:8 F2:8";
const char* const kBassG = "G1:8 G2:8 D2:8 G2:8 G1:8 G2:8 D2:8 G2:8";
const char* const kBassEm = "E2:8 E3:8 B2:8 E3:8 E2:8 E3:8 B2:8 E3:8";
const char* const kBassDm = "D2:8 D3:8 A2:8 D3:8 D2:8 D3:8 A2:8 D3:8";
const char* const kBassFG = "F1:8 F2:8 C2:8 F2:8 G1:8 G2:8 D2:8 G2:8";
const char* const kBassDmG = "D2:8 D3:8 A2:8 D3:8 G1:8 G2:8 D2:8 G2:8";
const char* const kBassG7 = "G1:8 G2:8 D2:8 F2:8 G1:8 G2:8 B1:8 D2:8";
const char* const kBassCWalk = "C2:8 C3:8 G2:8 C3:8 C2:4 D2:8 E2:8";

// Piano: off-beat stabs in the A sections, held chords in B.
const char* const kStabC = "r:8 E4+G4+C5:8 r:8 E4+G4+C5:8 r:8 E4+G4+C5:8 r:8 E4+G4+C5:8";
const char* const kStabAm = "r:8 E4+A4+C5:8 r:8 E4+A4+C5:8 r:8 E4+A4+C5:8 r:8 E4+A4+C5:8";
const char* const kStabF = "r:8 F4+A4+C5:8 r:8 F4+A4+C5:8 r:8 F4+A4+C5:8 r:8 F4+A4+C5:8";
const char* const kStabG = "r:8 D4+G4+B4:8 r:8 D4+G4+B4:8 r:8 D4+G4+B4:8 r:8 D4+G4+B4:8";
const char* const kStabFG = "r:8 F4+A4+C5:8 r:8 F4+A4+C5:8 r:8 D4+G4+B4:8 r:8 D4+G4+B4:8";
const char* const kStabDmG = "r:8 D4+F4+A4:8 r:8 D4+F4+A4:8 r:8 D4+G4+B4:8 r:8 D4+G4+B4:8";
const char* const kStabG7 = "r:8 D4+F4+B4:8 r:8 D4+F4+B4:8 r:8 D4+F4+B4:8 r:8 D4+F4+B4:8";
const char* const kHoldF = "F4+A4+C5:2 F4+A4+C5:4. F4+A4+C5:8";
const char* const kHoldG = "D4+G4+B4:2 D4+G4+B4:4. D4+G4+B4:8";
const char* const kHoldEm = "E4+G4+B4:2 E4+G4+B4:4. E4+G4+B4:8";
const char* const kHoldAm = "E4+A4+C5:2 E4+A4+C5:4. E4+A4+C5:8";
const char* const kHoldDm = "D4+F4+A4:2 D4+F4+A4:4. D4+F4+A4:8";
const char* const kHoldC = "E4+G4+C5:2 E4+G4+C5:4. E4+G4+C5:8";
const char* const kHoldG7 = "D4+F4+B4:2 D4+F4+B4:4. D4+F4+B4:8";

// Drums: a straight rock beat, a crash at each section, a tom fill before each new one.
const char* const kBeat = "kick+hat:8 hat:8 snare+hat:8 hat:8 kick+hat:8 kick+hat:8 snare+hat:8 hat:8";
const char* const kBeatCrash = "kick+crash:8 hat:8 snare+hat:8 hat:8 kick+hat:8 kick+hat:8 snare+hat:8 hat:8";
const char* const kBeatOpen = "kick+hat:8 hat:8 snare+hat:8 hat:8 kick+hat:8 kick+hat:8 snare+ohat:8 hat:8";
const char* const kFill =
    "kick+hat:8 hat:8 snare+hat:8 hat:8 snare:16 snare:16 tomhi:16 tomhi:16 tommid:16 tommid:16 tomlo:16 kick:16";

Song MakeBgm() {
  Song song;
  song.title = "Porongo - Snake Parade";
  song.beats_per_minute = 140;
  song.beats_per_bar = 4;

  Part melody{.name = "Melody",
              .channel = 0,
              .program = 80,
              .velocity = 100,
              .volume = 92,
              .pan = 64,
              .reverb = 48,
              .gate = 0.85,
              .bars = {
                  // A
                  "E5:8 G5:8 C6:4 G5:8 E5:8 G5:4",
                  "A5:8 G5:8 E5:4 C5:4 E5:4",
                  "F5:8 A5:8 C6:4 A5:8 F5:8 A5:4",
                  "G5:4. F5:8 E5:4 D5:4",
                  "E5:8 G5:8 C6:4 D6:8 C6:8 B5:4",
                  "A5:8 B5:8 C6:4 A5:4 E5:4",
                  "F5:8 E5:8 F5:8 A5:8 G5:8 F5:8 D5:8 B4:8",
                  "C5:2. r:4",
                  // B
                  "A5:4 A5:8 G5:8 F5:4 C5:4",
                  "B5:4 B5:8 A5:8 G5:4 D5:4",
                  "G5:8 A5:8 B5:8 G5:8 E5:4 B4:4",
                  "C5:8 D5:8 E5:8 C5:8 A4:2",
                  "F5:4 F5:8 E5:8 D5:4 A5:4",
                  "G5:8 F5:8 E5:8 D5:8 B4:4 G4:4",
                  "C5:8 E5:8 G5:8 C6:8 E6:4 D6:4",
                  "D6:4 B5:8 G5:8 F5:4 D5:4",
                  // A'
                  "E5:8 G5:8 C6:4 G5:8 E5:8 G5:4",
                  "A5:8 G5:8 E5:4 C5:4 E5:4",
                  "F5:8 A5:8 C6:4 A5:8 F5:8 A5:4",
                  "G5:4. F5:8 E5:4 D5:4",
                  "E5:8 G5:8 C6:4 E6:8 D6:8 C6:4",
                  "A5:8 B5:8 C6:4 E6:4 C6:4",
                  "F5:8 A5:8 D6:8 C6:8 B5:8 A5:8 G5:8 F5:8",
                  "E5:8 F5:8 G5:4 F5:4 D5:4",
              }};

  Part bass{.name = "Bass",
            .channel = 1,
            .program = 33,
            .velocity = 100,
            .volume = 100,
            .pan = 64,
            .reverb = 16,
            .gate = 0.8,
            .bars = {kBassC, kBassAm, kBassF,  kBassG,  kBassC,  kBassAm, kBassFG,  kBassCWalk,
                     kBassF, kBassG,  kBassEm, kBassAm, kBassDm, kBassG,  kBassC,   kBassG7,
                     kBassC, kBassAm, kBassF,  kBassG,  kBassC,  kBassAm, kBassDmG, kBassG7}};

  Part piano{.name = "Piano",
             .channel = 2,
             .program = 4,
             .velocity = 72,
             .volume = 84,
             .pan = 44,
             .reverb = 56,
             .gate = 0.6,
             .bars = {kStabC, kStabAm, kStabF,  kStabG,  kStabC,  kStabAm, kStabFG,  kStabC,
                      kHoldF, kHoldG,  kHoldEm, kHoldAm, kHoldDm, kHoldG,  kHoldC,   kHoldG7,
                      kStabC, kStabAm, kStabF,  kStabG,  kStabC,  kStabAm, kStabDmG, kStabG7}};

  Part drums{.name = "Drums",
             .channel = 9,
             .volume = 96,
             .pan = 64,
             .reverb = 24,
             .gate = 0.5,
             .bars = {kBeatCrash, kBeat, kBeat, kBeatOpen, kBeat, kBeat, kBeat, kFill,
                      kBeatCrash, kBeat, kBeat, kBeatOpen, kBeat, kBeat, kBeat, kFill,
                      kBeatCrash, kBeat, kBeat, kBeatOpen, kBeat, kBeat, kBeat, kFill}};

  song.parts = {melody, bass, piano, drums};
  return song;
}

}  // namespace

const Song& BgmScore() {
  static const Song song = MakeBgm();
  return song;
}

}  // namespace porongo::audio
