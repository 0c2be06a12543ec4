// Ranking.dat on disk: the lock that keeps two running copies of the game from mixing
// their saves, and the replacement that makes a save all or nothing.
//
// A save writes the table to a copy of the file, Ranking.dat.tmp, with the same profile
// calls as ever, and then renames the copy over Ranking.dat in one step. A crash at any
// moment leaves either the old file or the new one, never a table half written; a copy
// left by a crash is removed at the next start or save.
//
// The lock is taken on a file of its own, Ranking.dat.lock, which is never renamed,
// replaced or removed. Ranking.dat itself cannot carry it. A lock belongs to the file it
// was taken on, not to its name: a copy of the game waiting for a lock on Ranking.dat
// while another one saves would get it on the old file, which the save has just replaced,
// while a third copy locks the new one, and the two would save at once. And Windows does
// not replace a file that someone holds open unless every opener allowed FILE_SHARE_DELETE,
// so a save holding Ranking.dat open could not rename over it at all. The lock file is
// opened for reading and writing shared, and Ranking.dat is open only for the moments in
// which the profile functions read or write it, all of them while the lock is held.
#pragma once

#include "platform/win32.h"
#include "ranking/ranking_path.h"

class RankingFile {
 public:
  enum Access {
    Reading,  // a shared lock, if the lock file is there: a first start creates no file
    Writing,  // an exclusive lock, creating the lock file if need be
  };
  // Milliseconds to wait for another copy of the game to finish with the file.
  static constexpr DWORD LockWait = 5000;

  // Builds the path and takes the lock. Reading with the lock held also removes a copy
  // that a crashed save left behind.
  explicit RankingFile(Access access);
  // Gives the lock back.
  ~RankingFile();
  RankingFile(const RankingFile&) = delete;
  RankingFile& operator=(const RankingFile&) = delete;

  const char* Path() const { return path; }
  bool Locked() const { return locked; }
  // Why the last step failed (a Win32 error code).
  DWORD Error() const { return error; }

  // Writing: makes the copy to write to, from the file as it is (or none, when there is
  // no file yet). False, with Error(), when it cannot be made.
  bool BeginReplacement();
  // The copy's path, for the profile calls of the save.
  const char* Replacement() const { return replacement; }
  // Puts the copy in the file's place, on the disk before this returns.
  bool FinishReplacement();
  // Removes the copy after a failed save.
  void AbandonReplacement();

 private:
  bool TakeLock(DWORD flags);

  char path[kRankingPathBytes];
  char lockPath[kRankingPathBytes + 8];
  char replacement[kRankingPathBytes + 8];
  HANDLE lockFile;
  bool locked;
  DWORD error;
};
