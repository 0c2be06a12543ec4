// LockFileEx and UnlockFileEx on open file description locks.
//
// An open file description lock belongs to the descriptor that took it, as a Windows lock
// belongs to its handle, and a second descriptor of the same file is kept out even within
// the process. What Linux does not have is Windows' bookkeeping per handle: shared locks
// that stack, a shared lock over the handle's own exclusive one, and unlocks that must
// name a locked range exactly. So each handle keeps its ranges, and after every change the
// system's lock on the affected bytes is set to what those ranges ask for: exclusive where
// any exclusive range lies, shared where only shared ones do, none elsewhere.
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/kernel32/files/file_errors.h"
#include "platform/kernel32/files/open_files.h"
#include "platform/kernel32/kernel32.h"

namespace {

using win32::kernel32::LockedRange;
using win32::kernel32::OpenFile;

// Beyond this a file offset cannot be said to the system; a range reaching past it is
// locked to the end of every possible file.
constexpr std::uint64_t kSystemLimit = std::numeric_limits<off_t>::max();

std::uint64_t End(std::uint64_t offset, std::uint64_t length) {
  return length > std::numeric_limits<std::uint64_t>::max() - offset ? std::numeric_limits<std::uint64_t>::max()
                                                                     : offset + length;
}

bool Covers(const LockedRange& r, std::uint64_t at) { return r.offset <= at && at < End(r.offset, r.length); }

bool Overlaps(const LockedRange& a, const LockedRange& b) {
  return a.length != 0 && b.length != 0 && a.offset < End(b.offset, b.length) && b.offset < End(a.offset, a.length);
}

// The system lock the handle's ranges ask for at one byte.
short WantedAt(const std::vector<LockedRange>& ranges, std::uint64_t at) {
  short type = F_UNLCK;
  for (const LockedRange& r : ranges)
    if (Covers(r, at)) {
      if (r.exclusive) return F_WRLCK;
      type = F_RDLCK;
    }
  return type;
}

// Sets the system lock of [begin, end); 0 or the errno value.
int SetSystemLock(int fd, short type, std::uint64_t begin, std::uint64_t end, bool wait) {
  if (begin >= kSystemLimit) return 0;
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(begin);
  lock.l_len = end >= kSystemLimit ? 0 : static_cast<off_t>(end - begin);  // 0: to the end of any file
  while (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) != 0)
    if (errno != EINTR) return errno;
  return 0;
}

// Brings the system's lock on [begin, end) in line with `ranges`, piece by piece; 0 or the
// errno value of the first piece that could not be had.
int Apply(int fd, const std::vector<LockedRange>& ranges, std::uint64_t begin, std::uint64_t end, bool wait) {
  std::vector<std::uint64_t> cuts{begin, end};
  for (const LockedRange& r : ranges) {
    const std::uint64_t rEnd = End(r.offset, r.length);
    if (r.offset > begin && r.offset < end) cuts.push_back(r.offset);
    if (rEnd > begin && rEnd < end) cuts.push_back(rEnd);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  for (std::size_t i = 0; i + 1 < cuts.size();) {
    const short type = WantedAt(ranges, cuts[i]);
    std::size_t j = i + 1;
    while (j + 1 < cuts.size() && WantedAt(ranges, cuts[j]) == type) ++j;  // one call for a run of one kind
    if (int err = SetSystemLock(fd, type, cuts[i], cuts[j], wait)) return err;
    i = j;
  }
  return 0;
}

}  // namespace

using win32::Fail;

BOOL WINAPI LockFileEx(HANDLE hFile, DWORD dwFlags, DWORD dwReserved, DWORD nNumberOfBytesToLockLow,
                       DWORD nNumberOfBytesToLockHigh, LPOVERLAPPED lpOverlapped) {
  if (dwReserved != 0 || lpOverlapped == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::shared_ptr<OpenFile> file = win32::kernel32::FindOpenFile(hFile);
  if (!file) return FALSE;
  if ((file->access & (GENERIC_READ | GENERIC_WRITE)) == 0) return Fail(ERROR_ACCESS_DENIED);
  const LockedRange wanted{(std::uint64_t{lpOverlapped->OffsetHigh} << 32) | lpOverlapped->Offset,
                           (std::uint64_t{nNumberOfBytesToLockHigh} << 32) | nNumberOfBytesToLockLow,
                           (dwFlags & LOCKFILE_EXCLUSIVE_LOCK) != 0};

  std::lock_guard guard(file->mutex);
  if (wanted.exclusive)
    for (const LockedRange& held : file->locks)
      if (Overlaps(held, wanted)) return Fail(ERROR_LOCK_VIOLATION);
  std::vector<LockedRange> after = file->locks;
  after.push_back(wanted);
  const std::uint64_t end = End(wanted.offset, wanted.length);
  if (int err = Apply(file->fd.get(), after, wanted.offset, end, (dwFlags & LOCKFILE_FAIL_IMMEDIATELY) == 0)) {
    Apply(file->fd.get(), file->locks, wanted.offset, end, false);  // give back what was had
    return Fail(err == EBADF ? ERROR_ACCESS_DENIED : ERROR_LOCK_VIOLATION);
  }
  file->locks = std::move(after);
  return TRUE;
}

BOOL WINAPI UnlockFileEx(HANDLE hFile, DWORD dwReserved, DWORD nNumberOfBytesToUnlockLow,
                         DWORD nNumberOfBytesToUnlockHigh, LPOVERLAPPED lpOverlapped) {
  if (dwReserved != 0 || lpOverlapped == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::shared_ptr<OpenFile> file = win32::kernel32::FindOpenFile(hFile);
  if (!file) return FALSE;
  const std::uint64_t offset = (std::uint64_t{lpOverlapped->OffsetHigh} << 32) | lpOverlapped->Offset;
  const std::uint64_t length = (std::uint64_t{nNumberOfBytesToUnlockHigh} << 32) | nNumberOfBytesToUnlockLow;

  std::lock_guard guard(file->mutex);
  auto same = [&](const LockedRange& r) { return r.offset == offset && r.length == length; };
  // Of a shared and an exclusive lock on the same range, the exclusive one goes first.
  auto it = std::find_if(file->locks.begin(), file->locks.end(),
                         [&](const LockedRange& r) { return same(r) && r.exclusive; });
  if (it == file->locks.end()) it = std::find_if(file->locks.begin(), file->locks.end(), same);
  if (it == file->locks.end()) return Fail(ERROR_NOT_LOCKED);
  file->locks.erase(it);
  Apply(file->fd.get(), file->locks, offset, End(offset, length), false);  // only ever lowers: cannot fail
  return TRUE;
}
