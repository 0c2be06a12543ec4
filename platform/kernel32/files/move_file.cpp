// MoveFileExA.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/kernel32/files/file_errors.h"
#include "platform/kernel32/files/system_path.h"
#include "platform/kernel32/files/unique_fd.h"
#include "platform/kernel32/kernel32.h"

namespace {

using win32::Fail;

void SyncDirectory(const std::string& path) {
  win32::UniqueFd directory(open(win32::DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.valid()) fsync(directory.get());
}

}  // namespace

BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags) {
  if (dwFlags & (MOVEFILE_COPY_ALLOWED | MOVEFILE_DELAY_UNTIL_REBOOT)) return Fail(ERROR_NOT_SUPPORTED);
  if (lpExistingFileName == nullptr || lpNewFileName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::optional<std::string> source = win32::FilePathOf(lpExistingFileName);
  if (!source) return FALSE;
  std::optional<std::string> target = win32::FilePathOf(lpNewFileName);
  if (!target) return FALSE;

  struct stat from {};
  if (lstat(source->c_str(), &from) != 0) return Fail(win32::Win32ErrorForPath(errno, *source, ERROR_ACCESS_DENIED));
  const bool replacing = (dwFlags & MOVEFILE_REPLACE_EXISTING) != 0;
  struct stat old {};
  if (lstat(target->c_str(), &old) == 0 && (old.st_dev != from.st_dev || old.st_ino != from.st_ino)) {
    if (!replacing) return Fail(ERROR_ALREADY_EXISTS);
    // Windows replaces neither a directory nor a read-only file.
    if (S_ISDIR(old.st_mode) || (S_ISREG(old.st_mode) && (old.st_mode & 0222) == 0)) return Fail(ERROR_ACCESS_DENIED);
  }

  const bool writeThrough = (dwFlags & MOVEFILE_WRITE_THROUGH) != 0;
  if (writeThrough && S_ISREG(from.st_mode)) {
    // The contents first, so that the new name never stands for data that is not yet on
    // the disk.
    win32::UniqueFd file(open(source->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.valid() && fsync(file.get()) != 0) return Fail(win32::Win32ErrorFromErrno(errno, ERROR_WRITE_FAULT));
  }
  const int moved = replacing ? rename(source->c_str(), target->c_str())
                              : renameat2(AT_FDCWD, source->c_str(), AT_FDCWD, target->c_str(), RENAME_NOREPLACE);
  if (moved != 0) {
    if (errno == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
    if (!replacing && errno == EINVAL) {
      // A file system without RENAME_NOREPLACE: the check above has to do.
      if (rename(source->c_str(), target->c_str()) != 0)
        return Fail(win32::Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    } else {
      return Fail(errno == ENOTDIR || errno == EISDIR ? ERROR_ACCESS_DENIED
                                                      : win32::Win32ErrorForPath(errno, *target, ERROR_ACCESS_DENIED));
    }
  }
  if (writeThrough) {
    SyncDirectory(*target);
    if (win32::DirectoryOf(*source) != win32::DirectoryOf(*target)) SyncDirectory(*source);
  }
  return TRUE;
}
