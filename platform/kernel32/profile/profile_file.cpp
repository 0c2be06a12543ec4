#include "platform/kernel32/profile/profile_file.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/kernel32/files/file_errors.h"
#include "platform/kernel32/files/unique_fd.h"
#include "platform/kernel32/kernel32.h"
#include "platform/kernel32/profile/profile_document.h"
#include "platform/kernel32/profile/profile_temporaries.h"

namespace win32::profile {
namespace {

// Two versions of a file written within the file system's timestamp granularity (a few
// milliseconds) with the same size share a stamp; this much margin covers every file
// system's granularity.
constexpr time_t kRecentSeconds = 2;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

FileStamp FileStamp::Of(const struct stat& st) { return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim}; }

bool FileStamp::operator==(const FileStamp& o) const {
  return device == o.device && inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec &&
         modified.tv_nsec == o.modified.tv_nsec && changed.tv_sec == o.changed.tv_sec &&
         changed.tv_nsec == o.changed.tv_nsec;
}

bool FileStamp::IsRecent() const {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  // The change time, not the modification time: every write moves it to the present, and
  // unlike the modification time nobody can set it back.
  return changed.tv_sec + kRecentSeconds >= now.tv_sec;
}

InputFile::InputFile(const std::string& path) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer forever.
  fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    status_ = (errno == ENOENT || errno == ENOTDIR) ? Status::kMissing : Status::kFailed;
    error_ = status_ == Status::kMissing ? ERROR_FILE_NOT_FOUND : Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
    return;
  }
  struct stat st {};
  if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    error_ = ERROR_ACCESS_DENIED;
    return;
  }
  stamp_ = FileStamp::Of(st);
  status_ = Status::kOpen;
}

InputFile::~InputFile() {
  if (fd_ >= 0) close(fd_);
}

bool InputFile::ReadAll(std::string& bytes) {
  bytes.clear();
  if (static_cast<std::uint64_t>(stamp_.size) > kMaxProfileBytes) {
    error_ = ERROR_FILE_TOO_LARGE;
    return false;
  }
  bytes.resize(static_cast<std::size_t>(stamp_.size));
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) {
      // The file may have grown since it was opened; read on until its real end, or one
      // byte past the limit.
      if (bytes.size() > kMaxProfileBytes) {
        error_ = ERROR_FILE_TOO_LARGE;
        return false;
      }
      bytes.resize(std::min<std::size_t>(kMaxProfileBytes + 1, bytes.size() + 65536));
    }
    ssize_t n = pread(fd_, bytes.data() + filled, bytes.size() - filled, static_cast<off_t>(filled));
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = Win32ErrorFromErrno(errno, ERROR_READ_FAULT);
      return false;
    }
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  bytes.resize(filled);
  return true;
}

bool InputFile::Unchanged() const {
  struct stat st {};
  return fstat(fd_, &st) == 0 && FileStamp::Of(st) == stamp_;
}

std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

DWORD ReplaceFileAtomically(const std::string& target, std::string_view bytes) {
  if (target.empty() || target.back() == '/') return ERROR_INVALID_NAME;
  if (bytes.size() > kMaxProfileBytes) return ERROR_FILE_TOO_LARGE;

  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
  if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0))
    return ERROR_ACCESS_DENIED;

  std::string temporary;
  UniqueFd fd;
  for (int attempt = 0; fd.get() < 0; ++attempt) {
    temporary = TemporaryNameBeside(target);
    fd.Reset(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.get() < 0 && (errno != EEXIST || attempt == 16)) return Win32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
  }
  const auto fail = [&](DWORD fallback) {
    DWORD error = Win32ErrorFromErrno(errno, fallback);
    fd.Reset();
    unlink(temporary.c_str());
    return error;
  };
  if (exists) {
    if (fchmod(fd.get(), old.st_mode & 07777) != 0) return fail(ERROR_ACCESS_DENIED);
    // Keep the owner too where that is allowed (it is for root, who may be editing
    // someone else's file); where it is not, the file simply becomes the writer's.
    if (fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
    }
  }
  // The data reaches the disk before the new name does, so that even a power cut leaves
  // the old file or the whole new one. The rename itself is not waited for: like Windows,
  // a profile write promises a whole file, not that it is on the disk when the call returns.
  if (!WriteAll(fd.get(), bytes)) return fail(ERROR_WRITE_FAULT);
  if (fdatasync(fd.get()) != 0) return fail(ERROR_WRITE_FAULT);
  if (fd.Close() != 0) return fail(ERROR_WRITE_FAULT);
  if (rename(temporary.c_str(), target.c_str()) != 0) return fail(ERROR_ACCESS_DENIED);
  return ERROR_SUCCESS;
}

}  // namespace win32::profile
