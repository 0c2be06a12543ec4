#include "platform/kernel32/profile/profile_temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string_view>
#include <thread>

#include "platform/kernel32/files/system_path.h"

namespace win32::profile {
namespace {

constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomDigits = 16;
constexpr auto kLongestWait = std::chrono::seconds(5);

bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// ".<name>.<16 hex digits>.tmp", with a name of at least one character.
bool IsTemporaryName(std::string_view name) {
  if (name.size() < 2 + 1 + kRandomDigits + kSuffix.size() || name[0] != '.' || !name.ends_with(kSuffix)) return false;
  std::string_view digits = name.substr(name.size() - kSuffix.size() - kRandomDigits, kRandomDigits);
  for (char c : digits)
    if (!IsLowerHex(c)) return false;
  return name[name.size() - kSuffix.size() - kRandomDigits - 1] == '.';
}

}  // namespace

std::string TemporaryNameBeside(const std::string& target) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::size_t slash = target.rfind('/');
  std::string directory = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string base = FileNameOf(target).substr(0, 64);
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
  return directory + "." + base + suffix;
}

DirectoryLock::DirectoryLock(const std::string& directory, Wait wait) {
  fd_ = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  // Polled rather than waited for, so that the wait has an end.
  const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
  auto pause = std::chrono::microseconds(200);
  for (;;) {
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      state_ = State::kHeld;
      return;
    }
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return;
    if (wait == Wait::kNo || std::chrono::steady_clock::now() >= deadline) {
      state_ = State::kBusy;
      return;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(10));
  }
}

DirectoryLock::~DirectoryLock() {
  if (fd_ >= 0) close(fd_);  // and the lock with it
}

void RemoveStaleTemporaries(const std::string& directory) {
  struct CloseDir {
    void operator()(DIR* d) const { closedir(d); }
  };
  std::unique_ptr<DIR, CloseDir> listing(opendir(directory.c_str()));
  if (!listing) return;
  while (dirent* entry = readdir(listing.get()))
    if (IsTemporaryName(entry->d_name)) unlinkat(dirfd(listing.get()), entry->d_name, 0);
}

}  // namespace win32::profile
