// A fresh directory for one test's files, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace test {

class ScratchDir {
 public:
  // Under `parent` (the test's working directory unless given), named as mkdtemp would.
  explicit ScratchDir(const std::string& parent = ".") {
    std::random_device random;
    std::filesystem::path made;
    std::error_code error;
    do {
      made = std::filesystem::path(parent) / ("scratch." + std::to_string(random()));
    } while (!std::filesystem::create_directory(made, error) && !error);
    if (error) std::abort();
    path_ = std::filesystem::canonical(made).generic_string();
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
    std::error_code error;
    std::filesystem::current_path(previous_, error);
    if (error) std::abort();
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

inline bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

}  // namespace test
