// Writes the pickup sound: make_bleep <path of BLEEP04.WAV>
#include <cstdio>

#include "tools/audio/bleep.h"
#include "tools/audio/write_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <BLEEP04.WAV>\n", argv[0]);
    return 2;
  }
  return porongo::audio::WriteFile(argv[1], porongo::audio::EncodeBleepWave()) ? 0 : 1;
}
