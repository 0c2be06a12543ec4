// Reading profile files: the ranking file as the game loads it, and a file at the size
// limit read fifteen times in a row (once parsed, then from the cache), and the first read
// of it.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/kernel32/profile/profile_document.h"
#include "platform/win32.h"

namespace {

class Files {
 public:
  Files() {
    char pattern[] = "/tmp/profile_bench.XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    dir_ = pattern;
    std::string ranking;
    for (int i = 1; i <= 5; ++i)
      ranking +=
          "[" + std::to_string(i) + "]\r\nName=No Name\r\nBody=0\r\nScore=" + std::to_string(60 - i * 10) + "\r\n";
    Write(RankingPath(), ranking);
    const std::string last = "[last]\r\nk=found\r\n";
    std::string big;
    big.reserve(win32::profile::kMaxProfileBytes);
    for (int i = 0; big.size() + 1000 < win32::profile::kMaxProfileBytes - last.size(); ++i) {
      big += "[section" + std::to_string(i) + "]\r\n";
      for (int k = 0; k < 20; ++k) big += "key" + std::to_string(k) + "=value" + std::to_string(k) + "\r\n";
    }
    big += last;
    Write(BigPath(), big);
    // Files written this moment are checked byte for byte on every read until they are a
    // couple of seconds old; a game's files are older than that.
    sleep(3);
  }
  ~Files() { std::filesystem::remove_all(dir_); }

  std::string RankingPath() const { return dir_ + "/Ranking.dat"; }
  std::string BigPath() const { return dir_ + "/big.ini"; }

 private:
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string dir_;
};

Files& TheFiles() {
  static Files files;
  return files;
}

void BM_LoadRankingFile(benchmark::State& state) {
  const std::string path = TheFiles().RankingPath();
  for (auto _ : state) {
    for (int i = 1; i <= 5; ++i) {
      char section[4] = {static_cast<char>('0' + i), 0};
      char name[21];
      benchmark::DoNotOptimize(GetPrivateProfileIntA(section, "Score", 0, path.c_str()));
      benchmark::DoNotOptimize(GetPrivateProfileIntA(section, "Body", 0, path.c_str()));
      benchmark::DoNotOptimize(GetPrivateProfileStringA(section, "Name", "No Name", name, sizeof name, path.c_str()));
    }
  }
}
BENCHMARK(BM_LoadRankingFile);

void BM_FifteenReadsOfFileAtTheLimit(benchmark::State& state) {
  const std::string path = TheFiles().BigPath();
  char value[64];
  for (auto _ : state)
    for (int i = 0; i < 15; ++i)
      benchmark::DoNotOptimize(GetPrivateProfileStringA("last", "k", "", value, sizeof value, path.c_str()));
}
BENCHMARK(BM_FifteenReadsOfFileAtTheLimit)->Unit(benchmark::kMillisecond);

void BM_FirstReadOfFileAtTheLimit(benchmark::State& state) {
  const std::string path = TheFiles().BigPath();
  char value[64];
  for (auto _ : state) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // empties the cache
    benchmark::DoNotOptimize(GetPrivateProfileStringA("last", "k", "", value, sizeof value, path.c_str()));
  }
}
BENCHMARK(BM_FirstReadOfFileAtTheLimit)->Unit(benchmark::kMillisecond);

}  // namespace
