// DeleteFileA.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/kernel32/files/file_errors.h"
#include "platform/kernel32/files/system_path.h"
#include "platform/kernel32/kernel32.h"

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
  const auto fail = [](DWORD error) {
    SetLastError(error);
    return FALSE;
  };
  if (lpFileName == nullptr) return fail(ERROR_INVALID_PARAMETER);
  std::optional<std::string> path = win32::ToSystemPath(lpFileName);
  if (!path) return fail(ERROR_INVALID_NAME);
  if (path->empty()) return fail(ERROR_PATH_NOT_FOUND);
  struct stat st {};
  if (lstat(path->c_str(), &st) != 0) return fail(win32::Win32ErrorForPath(errno, *path, ERROR_ACCESS_DENIED));
  // A symbolic link goes itself, whatever it points at; a directory or a read-only file
  // stays, as on Windows.
  if (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0)) return fail(ERROR_ACCESS_DENIED);
  if (unlink(path->c_str()) != 0) return fail(win32::Win32ErrorForPath(errno, *path, ERROR_ACCESS_DENIED));
  return TRUE;
}
