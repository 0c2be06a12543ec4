#include "tools/audio/score_notation.h"

#include <string>

namespace porongo::audio {
namespace {

struct Drum {
  std::string_view name;
  int key;
  int velocity;
};

// General MIDI percussion keys, each with the weight it is played with.
constexpr Drum kDrums[] = {
    {"kick", 36, 108}, {"snare", 38, 100}, {"clap", 39, 90},    {"hat", 42, 64},   {"pedal", 44, 60},
    {"ohat", 46, 72},  {"crash", 49, 96},  {"ride", 51, 70},    {"tomlo", 45, 92}, {"tommid", 47, 92},
    {"tomhi", 50, 92}, {"tamb", 54, 58},   {"cowbell", 56, 70},
};

[[noreturn]] void Fail(std::string_view what, std::string_view text) {
  throw NotationError(std::string(what) + ": \"" + std::string(text) + "\"");
}

std::uint32_t ParseDuration(std::string_view text, std::uint32_t ticks_per_quarter) {
  bool dotted = !text.empty() && text.back() == '.';
  if (dotted) text.remove_suffix(1);
  std::uint32_t whole = ticks_per_quarter * 4;
  for (std::uint32_t denominator : {1u, 2u, 4u, 8u, 16u, 32u}) {
    if (text != std::to_string(denominator)) continue;
    if (whole % denominator != 0) Fail("duration too short for the resolution", text);
    std::uint32_t ticks = whole / denominator;
    return dotted ? ticks + ticks / 2 : ticks;
  }
  Fail("bad duration", text);
}

}  // namespace

ScoreNote ParsePitch(std::string_view name) {
  for (const Drum& drum : kDrums)
    if (name == drum.name) return {.key = drum.key, .velocity = drum.velocity};

  static constexpr int kSemitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') Fail("bad pitch", name);
  int semitone = kSemitones[name[0] - 'A'];
  std::size_t at = 1;
  if (name[at] == '#' || name[at] == 'b') {
    semitone += name[at] == '#' ? 1 : -1;
    ++at;
  }
  std::string_view octave_text = name.substr(at);
  if (octave_text.empty() || octave_text.size() > 2) Fail("bad octave", name);
  int octave = 0;
  bool negative = octave_text[0] == '-';
  for (char c : octave_text.substr(negative ? 1 : 0)) {
    if (c < '0' || c > '9') Fail("bad octave", name);
    octave = octave * 10 + (c - '0');
  }
  if (negative) octave = -octave;
  int key = (octave + 1) * 12 + semitone;
  if (key < 0 || key > 127) Fail("pitch out of the MIDI range", name);
  return {.key = key};
}

std::vector<ScoreNote> ParseBar(std::string_view bar, std::uint32_t ticks_per_quarter, std::uint32_t bar_ticks) {
  std::vector<ScoreNote> notes;
  std::uint32_t now = 0;
  while (true) {
    std::size_t start = bar.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    bar.remove_prefix(start);
    std::size_t end = bar.find(' ');
    std::string_view item = bar.substr(0, end);
    bar = end == std::string_view::npos ? std::string_view() : bar.substr(end);

    std::size_t colon = item.find(':');
    if (colon == std::string_view::npos) Fail("missing duration", item);
    std::uint32_t length = ParseDuration(item.substr(colon + 1), ticks_per_quarter);
    std::string_view sound = item.substr(0, colon);
    if (sound != "r") {
      while (true) {
        std::size_t plus = sound.find('+');
        ScoreNote note = ParsePitch(sound.substr(0, plus));
        note.start = now;
        note.length = length;
        notes.push_back(note);
        if (plus == std::string_view::npos) break;
        sound.remove_prefix(plus + 1);
      }
    }
    now += length;
  }
  if (now != bar_ticks)
    throw NotationError("bar lasts " + std::to_string(now) + " ticks instead of " + std::to_string(bar_ticks));
  return notes;
}

}  // namespace porongo::audio
