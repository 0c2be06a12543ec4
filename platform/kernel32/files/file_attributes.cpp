// GetFileAttributesA.
#include <sys/stat.h>

#include <cerrno>

#include "platform/kernel32/files/file_errors.h"
#include "platform/kernel32/files/system_path.h"
#include "platform/kernel32/kernel32.h"

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
  std::optional<std::string> path = lpFileName ? win32::ToSystemPath(lpFileName) : std::nullopt;
  if (!path) {
    SetLastError(lpFileName ? ERROR_INVALID_NAME : ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  struct stat st {};
  if (path->empty() || stat(path->c_str(), &st) != 0) {
    SetLastError(path->empty() ? ERROR_PATH_NOT_FOUND : win32::Win32ErrorForPath(errno, *path, ERROR_ACCESS_DENIED));
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return FILE_ATTRIBUTE_ARCHIVE | ((st.st_mode & 0222) == 0 ? FILE_ATTRIBUTE_READONLY : 0);
}
