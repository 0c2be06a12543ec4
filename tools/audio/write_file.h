// Shared by the generators' command lines.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace porongo::audio {

// Writes `bytes` to `path`; says why on stderr and returns false when it cannot.
inline bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::perror(path.c_str());
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) std::perror(path.c_str());
  return written && closed;
}

}  // namespace porongo::audio
