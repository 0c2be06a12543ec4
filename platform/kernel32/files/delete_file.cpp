// DeleteFileA.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/kernel32/files/file_errors.h"
#include "platform/kernel32/kernel32.h"

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
  using win32::Fail;
  std::optional<std::string> path = win32::FilePathOf(lpFileName);
  if (!path) return FALSE;
  struct stat st {};
  if (lstat(path->c_str(), &st) != 0) return Fail(win32::Win32ErrorForPath(errno, *path, ERROR_ACCESS_DENIED));
  // A symbolic link goes itself, whatever it points at; a directory or a read-only file
  // stays, as on Windows.
  if (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0)) return Fail(ERROR_ACCESS_DENIED);
  if (unlink(path->c_str()) != 0) return Fail(win32::Win32ErrorForPath(errno, *path, ERROR_ACCESS_DENIED));
  return TRUE;
}
