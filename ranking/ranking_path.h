// Where Ranking.dat lives: the current directory.
#pragma once

#include "platform/win32.h"

// Size of the buffers for the directory and for the whole path.
constexpr DWORD kRankingPathBytes = 256;

// Builds "<directory>\Ranking.dat" in `path` (kRankingPathBytes bytes) from the current
// directory as GetCurrentDirectoryA returns it. No separator is added when the directory
// already ends with one ('\' or '/', but not a double-byte character's trail byte 0x5C).
// When the directory cannot be had or the path would not fit, the path is ".\Ranking.dat",
// which names the same file relative to the current directory.
void MakeRankingPath(const char* directory, DWORD directoryLength, char* path);

// The same for the process's current directory, taken as unknown when its name in the
// process's code page does not lead to a directory.
void GetRankingPath(char* path);
