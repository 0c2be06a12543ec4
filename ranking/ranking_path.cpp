#include "ranking/ranking_path.h"

#include <cstring>

namespace {

const char kFileName[] = "Ranking.dat";
// The file in the current directory without naming the directory. A bare file name would not
// do: the profile functions look for one in the Windows directory.
const char kInCurrentDirectory[] = ".\\Ranking.dat";

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

// Whether the directory as the A functions spell it leads to a directory. A folder whose name
// has a character outside the process's code page (a Western "Zoë" under code page 932) is
// spelt with a look-alike ("Zoe") that usually leads nowhere.
bool IsDirectory(const char* directory) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return GetFileAttributesExA(directory, GetFileExInfoStandard, &data) &&
         (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

void MakeRankingPath(const char* directory, DWORD directoryLength, char* path) {
  std::strcpy(path, kInCurrentDirectory);
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
  if (length >= kRankingPathBytes || (length > 0 && !IsDirectory(directory))) length = 0;
  MakeRankingPath(directory, length, path);
}
