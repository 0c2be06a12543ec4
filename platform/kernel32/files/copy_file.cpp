// CopyFileA.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/kernel32/files/file_errors.h"
#include "platform/kernel32/files/unique_fd.h"
#include "platform/kernel32/kernel32.h"

namespace {

using win32::Fail;

// Copies everything from `from` to `to`; 0 or the errno value. copy_file_range lets the
// kernel copy (or share the blocks, where the file system can), without the data passing
// through here; where it cannot be used, the bytes are read and written.
int CopyContents(int from, int to) {
  for (;;) {
    ssize_t n = copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
    if (n == 0) return 0;
    if (n > 0) continue;
    if (errno == EINTR) continue;
    if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) return errno;
    break;
  }
  std::vector<char> buffer(1 << 16);
  for (;;) {
    ssize_t n = read(from, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(to, buffer.data() + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) return errno;
      done += w;
    }
  }
}

}  // namespace

BOOL WINAPI CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
  if (lpExistingFileName == nullptr || lpNewFileName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::optional<std::string> source = win32::FilePathOf(lpExistingFileName);
  if (!source) return FALSE;
  std::optional<std::string> target = win32::FilePathOf(lpNewFileName);
  if (!target) return FALSE;

  win32::UniqueFd from(open(source->c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!from.valid()) return Fail(win32::Win32ErrorForPath(errno, *source, ERROR_ACCESS_DENIED));
  struct stat in {};
  if (fstat(from.get(), &in) != 0 || !S_ISREG(in.st_mode)) return Fail(ERROR_ACCESS_DENIED);

  struct stat old {};
  const bool existed = stat(target->c_str(), &old) == 0;
  if (existed) {
    if (bFailIfExists) return Fail(ERROR_FILE_EXISTS);
    if (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0) return Fail(ERROR_ACCESS_DENIED);
    if (old.st_dev == in.st_dev && old.st_ino == in.st_ino) return Fail(ERROR_SHARING_VIOLATION);
  }
  win32::UniqueFd to(
      open(target->c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC | (bFailIfExists ? O_EXCL : O_TRUNC), 0600));
  if (!to.valid()) return Fail(win32::Win32ErrorForPath(errno, *target, ERROR_ACCESS_DENIED));

  // The copy takes the source's permissions (its read-only attribute on Windows) and its
  // time of last change.
  const timespec times[2] = {{0, UTIME_NOW}, in.st_mtim};
  int err = CopyContents(from.get(), to.get());
  if (err == 0 && fchmod(to.get(), in.st_mode & 07777) != 0) err = errno;
  if (err == 0 && futimens(to.get(), times) != 0) err = errno;
  if (err == 0 && to.Close() != 0) err = errno;
  if (err != 0) {
    to.Reset();
    unlink(target->c_str());  // a destination cut short is worth nothing
    return Fail(win32::Win32ErrorFromErrno(err, ERROR_WRITE_FAULT));
  }
  return TRUE;
}
