// The Win32 error codes of failed file operations.
#pragma once

#include <string>

#include "platform/win32_types.h"

namespace win32 {

// The Win32 error code for an errno value from a file operation; `fallback` for the rest.
DWORD Win32ErrorFromErrno(int err, DWORD fallback);

// Why `path` (a system path) could not be found: ERROR_FILE_NOT_FOUND when its directory
// is there, ERROR_PATH_NOT_FOUND when the directory is missing too, as Windows tells them apart.
DWORD MissingFileError(const std::string& path);

// Win32ErrorFromErrno, with a missing file told apart from a missing directory.
DWORD Win32ErrorForPath(int err, const std::string& path, DWORD fallback);

}  // namespace win32
