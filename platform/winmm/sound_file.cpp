#include "platform/winmm/sound_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/common/codepage.h"

namespace win32::winmm {

std::string HostPath(std::string_view name) {
  // Converted first: a CP932 trail byte can be 0x5C and is no separator.
  std::string path = cp932::ToUtf8(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string DisplayName(std::string_view name) { return cp932::ToUtf8(name); }

std::string_view ReadProblem(ReadResult result) {
  switch (result) {
    case ReadResult::Ok:
      break;
    case ReadResult::NotFound:
      return "file not found";
    case ReadResult::Unreadable:
      return "the file cannot be read";
    case ReadResult::TooLarge:
      return "the file is too large";
  }
  return "";
}

ReadResult ReadSoundFile(std::string_view name, std::size_t limit, std::vector<std::uint8_t>& bytes) {
  const std::string path = HostPath(name);
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return ReadResult::NotFound;
  if (!S_ISREG(info.st_mode)) return ReadResult::Unreadable;
  if (static_cast<std::uint64_t>(info.st_size) > limit) return ReadResult::TooLarge;

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return ReadResult::Unreadable;
  bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  if (got != bytes.size() || std::ferror(file.get())) return ReadResult::Unreadable;
  // A file that grew since stat() is read only up to the size it had then.
  return ReadResult::Ok;
}

}  // namespace win32::winmm
