#include "ranking/ranking_path.h"

#include <cstring>

namespace {

const char kFileName[] = "Ranking.dat";

bool EndsWithSeparator(const char* text, DWORD length) {
  bool separator = false;
  for (DWORD i = 0; i < length;) {
    if (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < length) {
      separator = false;
      i += 2;
    } else {
      separator = text[i] == '\\' || text[i] == '/';
      i += 1;
    }
  }
  return separator;
}

}  // namespace

void MakeRankingPath(const char* directory, DWORD directoryLength, char* path) {
  std::strcpy(path, kFileName);
  if (directory == nullptr || directoryLength == 0 || directoryLength >= kRankingPathBytes) return;
  const bool separator = EndsWithSeparator(directory, directoryLength);
  const DWORD needed = directoryLength + (separator ? 0 : 1) + sizeof kFileName;  // sizeof counts the zero
  if (needed > kRankingPathBytes) return;
  std::memcpy(path, directory, directoryLength);
  DWORD at = directoryLength;
  if (!separator) path[at++] = '\\';
  std::memcpy(path + at, kFileName, sizeof kFileName);
}

void GetRankingPath(char* path) {
  char directory[kRankingPathBytes];
  // 0 on failure, and the size needed (with the buffer untouched) when it is too small.
  DWORD length = GetCurrentDirectoryA(kRankingPathBytes, directory);
  if (length >= kRankingPathBytes) length = 0;
  MakeRankingPath(directory, length, path);
}
