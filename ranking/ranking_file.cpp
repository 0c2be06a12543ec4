#include "ranking/ranking_file.h"

#include <cstdio>

namespace {

// The one byte that stands for the whole file in the lock.
const DWORD LockedBytes = 1;
// How often to look again while another copy of the game holds the lock.
const DWORD LockPoll = 10;
// Ranking.dat is a few hundred bytes. A file far larger is none the game wrote (another
// program's, or a damaged one), and copying it to save five entries could keep the
// player waiting for seconds; it is left as it is.
const DWORD MaxFileBytes = 4 << 20;

}  // namespace

RankingFile::RankingFile(Access access) : lockFile(INVALID_HANDLE_VALUE), locked(false), error(ERROR_SUCCESS) {
  GetRankingPath(path);
  std::snprintf(lockPath, sizeof lockPath, "%s.lock", path);
  std::snprintf(replacement, sizeof replacement, "%s.tmp", path);
  const bool writing = access == Writing;
  lockFile =
      CreateFileA(lockPath, writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  NULL, writing ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (lockFile == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return;
  }
  locked = TakeLock(writing ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  // No save is under way while the lock is held, so a copy lying about is a crashed one's.
  if (locked && !writing) DeleteFileA(replacement);
}

RankingFile::~RankingFile() {
  if (locked) {
    OVERLAPPED at = {};
    UnlockFileEx(lockFile, 0, LockedBytes, 0, &at);
  }
  if (lockFile != INVALID_HANDLE_VALUE) CloseHandle(lockFile);
}

bool RankingFile::TakeLock(DWORD flags) {
  // Tried again and again rather than waited for, so that a copy of the game that hangs
  // while holding the lock cannot hang this one too.
  for (DWORD waited = 0;; waited += LockPoll) {
    OVERLAPPED at = {};
    if (LockFileEx(lockFile, flags | LOCKFILE_FAIL_IMMEDIATELY, 0, LockedBytes, 0, &at)) return true;
    error = GetLastError();
    if (error != ERROR_LOCK_VIOLATION || waited >= LockWait) return false;
    Sleep(LockPoll);
  }
}

bool RankingFile::BeginReplacement() {
  WIN32_FILE_ATTRIBUTE_DATA file;
  if (GetFileAttributesExA(path, GetFileExInfoStandard, &file)) {
    // A copy with the read-only attribute could be neither written nor removed; the save
    // fails as writing the file itself would.
    if (file.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
      error = ERROR_ACCESS_DENIED;
      return false;
    }
    if (file.nFileSizeHigh != 0 || file.nFileSizeLow > MaxFileBytes) {
      error = ERROR_FILE_TOO_LARGE;
      return false;
    }
  }
  if (!DeleteFileA(replacement) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    error = GetLastError();
    return false;
  }
  if (!CopyFileA(path, replacement, TRUE) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    error = GetLastError();
    return false;
  }
  return true;
}

bool RankingFile::FinishReplacement() {
  if (MoveFileExA(replacement, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  error = GetLastError();
  return false;
}

void RankingFile::AbandonReplacement() { DeleteFileA(replacement); }
