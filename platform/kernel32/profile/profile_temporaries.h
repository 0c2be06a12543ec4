// The temporary files of profile writes, and the lock under which they come and go.
//
// A write makes its new version of the file as a temporary beside it and renames that over
// the file. Writes of different processes to files of one directory take turns: each holds
// an exclusive lock on the directory itself from reading the file to the rename, so that no
// write is lost to another made from the same old version. The lock is on the directory
// because the file is no place for it: every write replaces the file with another one,
// and a writer that had waited for a lock on the old file would hold it on a file nobody
// reads any more. While the lock is held no write is half-way, so every temporary in the
// directory belongs to a writer that was killed, and it can go.
#pragma once

#include <string>

namespace win32::profile {

// A temporary name beside `target`: ".<name>.<16 hex digits>.tmp".
std::string TemporaryNameBeside(const std::string& target);

class DirectoryLock {
 public:
  enum class Wait { kNo, kBriefly };
  enum class State { kHeld, kBusy, kUnavailable };

  // kBriefly waits for other writers for up to a few seconds (a write takes milliseconds;
  // a writer stuck for longer must not hang this one); kNo does not wait at all.
  DirectoryLock(const std::string& directory, Wait wait);
  ~DirectoryLock();
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  // kBusy: another writer kept it; kUnavailable: the directory cannot be locked here
  // (unreadable, or a file system without locks), so writes go ahead unguarded.
  State state() const { return state_; }

 private:
  int fd_ = -1;
  State state_ = State::kUnavailable;
};

// Removes the temporaries that killed writers left in `directory`. Only while holding its lock.
void RemoveStaleTemporaries(const std::string& directory);

}  // namespace win32::profile
