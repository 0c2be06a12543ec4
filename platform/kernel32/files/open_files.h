// The files that CreateFileA has opened, behind their handles.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/kernel32/files/unique_fd.h"
#include "platform/win32_types.h"

namespace win32::kernel32 {

// A range locked through one handle. A range of length 0 locks nothing but is still a lock
// that must be undone.
struct LockedRange {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  bool exclusive = false;
};

struct OpenFile {
  UniqueFd fd;
  DWORD access = 0;  // GENERIC_READ, GENERIC_WRITE
  std::mutex mutex;  // guards `locks`
  std::vector<LockedRange> locks;
};

// Gives the file a handle of its own.
HANDLE AddOpenFile(std::shared_ptr<OpenFile> file);

// The file behind a handle, or null (with ERROR_INVALID_HANDLE as the last error). The file
// stays usable while it is held, even when its handle is closed meanwhile.
std::shared_ptr<OpenFile> FindOpenFile(HANDLE handle);

}  // namespace win32::kernel32
