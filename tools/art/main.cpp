// Writes the game's art files into a directory (normally resources/), or a mock board for
// looking at the sprites on the background:
//   porongo_art <directory>
//   porongo_art --mock <file.png>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <string_view>

#include "tools/art/art_files.h"
#include "tools/art/png_file.h"

namespace {

bool WriteFile(const std::string& path, const art::Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "porongo_art: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::string_view(argv[1]) == "--mock") return WriteFile(argv[2], art::EncodePng(art::DrawMockBoard())) ? 0 : 1;
    if (argc != 2) {
      std::fprintf(stderr, "usage: porongo_art <directory> | porongo_art --mock <file.png>\n");
      return 2;
    }
    for (const art::ArtFile& file : art::GenerateArtFiles())
      if (!WriteFile(std::string(argv[1]) + "/" + file.name, file.bytes)) return 1;
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "porongo_art: %s\n", e.what());
    return 1;
  }
}
