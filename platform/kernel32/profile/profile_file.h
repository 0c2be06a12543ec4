// Reading a profile file safely and replacing it atomically.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "platform/win32_types.h"

namespace win32::profile {

// What identifies one version of a file on disk.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};

  static FileStamp Of(const struct stat& st);
  bool operator==(const FileStamp& other) const;
  // True while the file's last change is too recent to tell a later change of the same
  // size apart from this version by its stamp alone.
  bool IsRecent() const;
};

// An open regular file. Opening never blocks: a FIFO, a device or a directory is refused.
class InputFile {
 public:
  enum class Status { kOpen, kMissing, kFailed };

  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  Status status() const { return status_; }
  DWORD error() const { return error_; }  // the Win32 error code when not open
  const FileStamp& stamp() const { return stamp_; }
  // Reads the whole file; false (with error()) when it cannot be read or is larger than
  // kMaxProfileBytes (ERROR_FILE_TOO_LARGE).
  bool ReadAll(std::string& bytes);
  // True when the file still has the stamp it was opened with.
  bool Unchanged() const;

 private:
  int fd_ = -1;
  Status status_ = Status::kFailed;
  DWORD error_ = 0;
  FileStamp stamp_;
};

// The file that a write of `path` replaces: a symbolic link is followed, so that the link
// stays a link.
std::string ResolveTarget(const std::string& path);

// Replaces the file `target` (resolved) with `bytes`: writes a temporary file beside it,
// flushes it to disk, gives it the old file's permissions and renames it over the old
// file. Returns ERROR_SUCCESS, or a Win32 error code with the old file untouched and no
// temporary left. A file without any write permission counts as read-only, as the
// read-only attribute does on Windows, even for a user who could write it; bytes beyond
// kMaxProfileBytes are refused (ERROR_FILE_TOO_LARGE).
DWORD ReplaceFileAtomically(const std::string& target, std::string_view bytes);

}  // namespace win32::profile
