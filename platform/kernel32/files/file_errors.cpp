#include "platform/kernel32/files/file_errors.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/kernel32/files/system_path.h"
#include "platform/kernel32/kernel32.h"

namespace win32 {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

std::optional<std::string> FilePathOf(LPCSTR name) {
  if (name == nullptr) {
    Fail(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  std::optional<std::string> path = ToSystemPath(name);
  if (!path || path->empty()) {
    Fail(path ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_NAME);
    return std::nullopt;
  }
  return path;
}

DWORD Win32ErrorFromErrno(int err, DWORD fallback) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case EFBIG:
      return ERROR_FILE_TOO_LARGE;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
      return ERROR_INVALID_NAME;
    default:
      return fallback;
  }
}

DWORD MissingFileError(const std::string& path) {
  struct stat st {};
  const std::string directory = DirectoryOf(path);
  return stat(directory.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

DWORD Win32ErrorForPath(int err, const std::string& path, DWORD fallback) {
  return err == ENOENT ? MissingFileError(path) : Win32ErrorFromErrno(err, fallback);
}

}  // namespace win32
