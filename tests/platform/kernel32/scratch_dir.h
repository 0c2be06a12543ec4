// A fresh directory for one test's files, removed with everything in it afterwards.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace test {

class ScratchDir {
 public:
  // Under `parent` (the test's working directory unless given).
  explicit ScratchDir(const std::string& parent = ".") {
    std::string pattern = parent + "/scratch.XXXXXX";
    char* made = mkdtemp(pattern.data());
    if (made == nullptr) std::abort();
    path_ = std::filesystem::canonical(made).string();
    chmod(path_.c_str(), 0755);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Gives the current directory back, when it goes, to what it was when it was made; a test
// that fails half-way cannot leave the next ones in its own, removed, directory.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : previous_(std::filesystem::current_path()) {}
  ~CurrentDirectoryGuard() {
    if (chdir(previous_.c_str()) != 0) std::abort();
  }
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

 private:
  std::filesystem::path previous_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

}  // namespace test
