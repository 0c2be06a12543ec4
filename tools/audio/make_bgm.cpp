// Writes the background music: make_bgm <path of bgm.mid>
#include <cstdio>
#include <exception>

#include "tools/audio/bgm_score.h"
#include "tools/audio/write_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <bgm.mid>\n", argv[0]);
    return 2;
  }
  try {
    return porongo::audio::WriteFile(argv[1], porongo::audio::EncodeSong(porongo::audio::BgmScore())) ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
}
