// CreateFileA: regular files, opened for reading, writing or neither.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/kernel32/files/file_errors.h"
#include "platform/kernel32/files/open_files.h"
#include "platform/kernel32/kernel32.h"

namespace {

// The FILE_FLAG_ options live in the top bits; the attributes below them.
constexpr DWORD kFileFlags = 0xFFF00000;

HANDLE Fail(DWORD error) {
  win32::Fail(error);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD /*dwShareMode*/,
                          LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE /*hTemplateFile*/) {
  if (lpFileName == nullptr || dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING)
    return Fail(ERROR_INVALID_PARAMETER);
  if ((dwFlagsAndAttributes & kFileFlags) != 0) return Fail(ERROR_NOT_SUPPORTED);
  std::optional<std::string> path = win32::FilePathOf(lpFileName);
  if (!path) return INVALID_HANDLE_VALUE;

  const bool reading = (dwDesiredAccess & GENERIC_READ) != 0;
  const bool writing = (dwDesiredAccess & GENERIC_WRITE) != 0;
  const bool truncating = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING;
  if (dwCreationDisposition == TRUNCATE_EXISTING && !writing) return Fail(ERROR_INVALID_PARAMETER);

  struct stat st {};
  const bool existed = stat(path->c_str(), &st) == 0;
  if (existed) {
    if (!S_ISREG(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    if (dwCreationDisposition == CREATE_NEW) return Fail(ERROR_FILE_EXISTS);
    if ((writing || truncating) && (st.st_mode & 0222) == 0) return Fail(ERROR_ACCESS_DENIED);
  } else if (errno != ENOENT) {
    return Fail(win32::Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
  } else if (dwCreationDisposition == OPEN_EXISTING || dwCreationDisposition == TRUNCATE_EXISTING) {
    return Fail(win32::MissingFileError(*path));
  }

  // A handle without read or write access can still be closed and asked about the file;
  // O_PATH opens even a file that may not be read.
  int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  if (!reading && !writing && !truncating)
    flags |= O_PATH;
  else
    flags |= writing || truncating ? (reading ? O_RDWR : O_WRONLY) : O_RDONLY;
  switch (dwCreationDisposition) {
    case CREATE_NEW:
      flags |= O_CREAT | O_EXCL;
      break;
    case CREATE_ALWAYS:
      flags |= O_CREAT | O_TRUNC;
      break;
    case OPEN_ALWAYS:
      flags |= O_CREAT;
      break;
    case TRUNCATE_EXISTING:
      flags |= O_TRUNC;
      break;
  }
  if (flags & O_CREAT) flags &= ~O_PATH;
  const mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  win32::UniqueFd fd(open(path->c_str(), flags, mode));
  if (!fd.valid()) return Fail(win32::Win32ErrorForPath(errno, *path, ERROR_ACCESS_DENIED));
  if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);

  auto file = std::make_shared<win32::kernel32::OpenFile>();
  file->fd = std::move(fd);
  file->access = dwDesiredAccess & (GENERIC_READ | GENERIC_WRITE);
  HANDLE handle = win32::kernel32::AddOpenFile(std::move(file));
  const bool mayExist = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS;
  SetLastError(mayExist && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}
