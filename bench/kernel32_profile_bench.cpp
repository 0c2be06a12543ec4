// Reading profile files: the ranking file as the game loads it, and a file at the size
// limit read fifteen times in a row (once parsed, then from the cache), and the first read
// of it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>

#include "bench/padded_profile.h"
#include "platform/kernel32/profile/profile_document.h"
#include "platform/win32.h"
#include "tests/common/scratch_dir.h"

namespace {

class Files {
 public:
  Files() {
    std::string ranking;
    for (int i = 1; i <= 5; ++i)
      ranking +=
          "[" + std::to_string(i) + "]\r\nName=No Name\r\nBody=0\r\nScore=" + std::to_string(60 - i * 10) + "\r\n";
    test::WriteBytes(RankingPath(), ranking);
    const std::string last = "[last]\r\nk=found\r\n";
    test::WriteBytes(BigPath(), bench::PaddedTo("", win32::profile::kMaxProfileBytes - last.size()) + last);
    // Files written this moment are checked byte for byte on every read until they are a
    // couple of seconds old; a game's files are older than that.
    sleep(3);
  }

  std::string RankingPath() const { return dir_.File("Ranking.dat"); }
  std::string BigPath() const { return dir_.File("big.ini"); }

 private:
  test::ScratchDir dir_{"/tmp"};
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
