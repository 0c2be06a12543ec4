// GetFileAttributesExA.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>

#include "platform/kernel32/files/file_errors.h"
#include "platform/kernel32/kernel32.h"

namespace {

// 100-nanosecond steps since 1601, Windows' epoch.
FILETIME ToFileTime(const statx_timestamp& t) {
  constexpr std::uint64_t kStepsFrom1601To1970 = 116444736000000000ull;
  const std::uint64_t steps =
      static_cast<std::uint64_t>(t.tv_sec) * 10000000ull + t.tv_nsec / 100 + kStepsFrom1601To1970;
  return {static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
}

}  // namespace

using win32::Fail;

BOOL WINAPI GetFileAttributesExA(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation) {
  if (lpFileName == nullptr || lpFileInformation == nullptr || fInfoLevelId != GetFileExInfoStandard)
    return Fail(ERROR_INVALID_PARAMETER);
  std::optional<std::string> path = win32::FilePathOf(lpFileName);
  if (!path) return FALSE;
  struct statx st {};
  if (statx(AT_FDCWD, path->c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
    return Fail(win32::Win32ErrorForPath(errno, *path, ERROR_ACCESS_DENIED));

  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (S_ISDIR(st.stx_mode))
    data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
  else
    data.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE | ((st.stx_mode & 0222) == 0 ? FILE_ATTRIBUTE_READONLY : 0);
  if (st.stx_mask & STATX_BTIME) data.ftCreationTime = ToFileTime(st.stx_btime);
  data.ftLastAccessTime = ToFileTime(st.stx_atime);
  data.ftLastWriteTime = ToFileTime(st.stx_mtime);
  if (!S_ISDIR(st.stx_mode)) {
    data.nFileSizeHigh = static_cast<DWORD>(st.stx_size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(st.stx_size);
  }
  *static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(lpFileInformation) = data;
  return TRUE;
}
