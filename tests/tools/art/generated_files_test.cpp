// The committed art must be exactly what the generator draws, so that it can always be
// rebuilt from source: regenerate with `cmake --build build --target art`.
#include <gtest/gtest.h>

#include "tests/tools/art/picture_reader.h"
#include "tools/art/art_files.h"

namespace arttest {
namespace {

TEST(GeneratedArt, MatchesTheCommittedFilesByteForByte) {
  std::vector<std::string> names;
  for (const art::ArtFile& file : art::GenerateArtFiles()) {
    names.push_back(file.name);
    EXPECT_TRUE(ReadFile(PORONGO_SOURCE_DIR "/resources/" + file.name) == file.bytes) << file.name << " differs";
  }
  EXPECT_EQ(names, (std::vector<std::string>{"sprites.bmp", "background.bmp", "porongo.ico", "porongo_small.ico",
                                             "porongo_16.png", "porongo_32.png", "porongo_48.png", "porongo_64.png",
                                             "porongo_128.png", "porongo_256.png"}));
}

}  // namespace
}  // namespace arttest
