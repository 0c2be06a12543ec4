// A song as a score: parts of bars in score notation, with the instrument and mix of
// each part, turned into a Standard MIDI File.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace porongo::audio {

struct Part {
  std::string name;
  int channel = 0;  // 0-based: General MIDI drums are channel 9 (the tenth)
  int program = 0;  // General MIDI program, 0-based; ignored on the drum channel
  int velocity = 96;
  int volume = 100;   // controller 7
  int pan = 64;       // controller 10
  int reverb = 40;    // controller 91
  double gate = 0.9;  // the part of each note's duration that sounds
  std::vector<std::string> bars;
};

struct Song {
  std::string title;
  int beats_per_minute = 120;
  int beats_per_bar = 4;  // quarter-note beats
  std::vector<Part> parts;
};

constexpr std::uint16_t kTicksPerQuarter = 480;

// A format 1 file: a conductor track (title, tempo, metre), then one track per part. Every
// track ends exactly at the end of the last bar, so the file plays as a seamless loop.
// Throws NotationError when a bar does not parse or parts differ in length.
std::vector<std::uint8_t> EncodeSong(const Song& song);

}  // namespace porongo::audio
