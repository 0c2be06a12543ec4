// How the file functions fail: the Win32 error codes of failed file operations, and the
// checks of a file name that every one of them makes first.
#pragma once

#include <optional>
#include <string>

#include "platform/win32_types.h"

namespace win32 {

// Sets the last error to `error` and gives FALSE back, as a failing file function does.
BOOL Fail(DWORD error);

// The system path of a file name given to a file function, or nothing with the last error
// set: ERROR_INVALID_PARAMETER for no name at all, ERROR_INVALID_NAME for one that is not
// code page 932, ERROR_PATH_NOT_FOUND for an empty one.
std::optional<std::string> FilePathOf(LPCSTR name);

// The Win32 error code for an errno value from a file operation; `fallback` for the rest.
DWORD Win32ErrorFromErrno(int err, DWORD fallback);

// Why `path` (a system path) could not be found: ERROR_FILE_NOT_FOUND when its directory
// is there, ERROR_PATH_NOT_FOUND when the directory is missing too, as Windows tells them apart.
DWORD MissingFileError(const std::string& path);

// Win32ErrorFromErrno, with a missing file told apart from a missing directory.
DWORD Win32ErrorForPath(int err, const std::string& path, DWORD fallback);

}  // namespace win32
