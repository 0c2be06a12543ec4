// The game's start (loading the ranking) and a save (a result inserted), with a ranking
// file as the game writes it, with one padded to just under the size limit of profile
// files, and with files above the limit: one of 50 MB and one of 1 GB, which the game
// leaves alone. Saves go to the disk as the game's do; run it where the game would.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/padded_profile.h"
#include "platform/kernel32/profile/profile_document.h"
#include "platform/win32.h"
#include "ranking/ranking_table.h"
#include "tests/common/scratch_dir.h"

namespace {

std::string RankingFile() {
  std::string file;
  for (int i = 1; i <= 5; ++i)
    file += "[" + std::to_string(i) + "]\r\nName=P" + std::to_string(1000 + i) +
            "\r\nBody=10\r\nScore=" + std::to_string(1000 + i) + "\r\n";
  return file;
}

class Folders {
 public:
  Folders() {
    Make("small", RankingFile());
    // Room for the saves to change the scores' and names' digits without reaching the limit.
    Make("limit", bench::PaddedTo(RankingFile(), win32::profile::kMaxProfileBytes - 1024));
    Make("50MB", bench::PaddedTo(RankingFile(), 50'000'000));
    std::filesystem::resize_file(Make("1GB", RankingFile()), 1'000'000'000);  // sparse: no gigabyte on the disk
  }
  void Enter(const std::string& name) const { std::filesystem::current_path(root_.File(name)); }

 private:
  std::string Make(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(root_.File(name));
    const std::string path = root_.File(name + "/Ranking.dat");
    test::WriteBytes(path, bytes);
    return path;
  }
  test::CurrentDirectoryGuard cwd_;  // goes back after the folders have gone
  test::ScratchDir root_{"/tmp"};
};

Folders& TheFolders() {
  static Folders folders;
  return folders;
}

const char* const kFolders[] = {"small", "limit", "50MB", "1GB"};

// A start: the table loaded as a new process would, with nothing cached.
void BM_Start(benchmark::State& state) {
  TheFolders().Enter(kFolders[state.range(0)]);
  state.SetLabel(kFolders[state.range(0)]);
  for (auto _ : state) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Ranking.dat");
    RankingTable table;
    benchmark::DoNotOptimize(table.ScoreAt(0));
  }
}
BENCHMARK(BM_Start)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A save: a result at rank 1, so that all five entries move. Above the limit the save
// fails, as it should, and this is how long the failure takes.
void BM_Save(benchmark::State& state) {
  TheFolders().Enter(kFolders[state.range(0)]);
  state.SetLabel(kFolders[state.range(0)]);
  RankingTable table;
  int score = 2000;
  const int err = dup(2);
  const int quiet = open("/dev/null", O_WRONLY);
  dup2(quiet, 2);  // the failures' lines
  for (auto _ : state) {
    ++score;
    table.Insert(score, 10, ("P" + std::to_string(score)).c_str());
  }
  dup2(err, 2);
  close(quiet);
  close(err);
}
BENCHMARK(BM_Save)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
