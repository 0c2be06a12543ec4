// Ranking.dat against crashes and a second copy of the game: saves killed at random
// moments, and two processes saving at the same moment. These fork and kill, so they are
// for Linux only.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "ranking/ranking_table.h"
#include "tests/common/scratch_dir.h"
#include "tests/ranking/ranking_rows.h"

namespace {

using ranking_test::Row;
using ranking_test::Rows;

// The table after results 1 to n were inserted, each as (k, k, "P<k>").
std::vector<Row> TableAfter(int n) {
  std::vector<Row> rows;
  for (int k = n; k > n - RankingTable::kEntryCount; --k)
    rows.push_back(k > 0 ? Row{k, k, "P" + std::to_string(k)} : Row{0, 0, "No Name"});
  return rows;
}

// Ranking.dat as it must read after results 1 to n, with a comment and a key of someone
// else's that every save has to keep as they are.
std::string FileAfter(int n) {
  std::string file = "; not the game's\r\n";
  std::vector<Row> rows = TableAfter(n);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    file += "[" + std::to_string(i + 1) + "]\r\nName=" + rows[i].name + "\r\nBody=" + std::to_string(rows[i].body) +
            "\r\nScore=" + std::to_string(rows[i].score) + "\r\n";
    if (i == 0) file += "Extra=kept\r\n";
  }
  return file;
}

// The files in `dir` besides Ranking.dat and its lock file, which stays once made.
std::vector<std::string> Leftovers(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (name != "Ranking.dat" && name != "Ranking.dat.lock") names.push_back(name);
  }
  return names;
}

// In memory where the system offers a file system there: a kill loses nothing that the
// kernel already has, so a disk would add only its flushes, and a save takes a millisecond
// instead of the tens that flushes take on a busy disk.
std::string FastestParent() { return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "."; }

class RankingCrashTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(chdir(dir_.path().c_str()), 0); }
  std::string FilePath() const { return dir_.File("Ranking.dat"); }

  test::ScratchDir dir_{FastestParent()};
  test::CurrentDirectoryGuard cwd_;
};

TEST_F(RankingCrashTest, SavesKilledAtRandomMomentsLeaveTheOldOrTheNewTable) {
  const int kKills = 300;
  test::WriteBytes(FilePath(), FileAfter(0));
  std::mt19937 random(20240611);
  int saved = 0;        // results the file holds
  int interrupted = 0;  // kills that found a save under way
  for (int kill = 0; kill < kKills; ++kill) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // A copy of the game that saves one result after another until it is killed.
      RankingTable table;
      for (int k = table.ScoreAt(0) + 1;; ++k) table.Insert(k, k, ("P" + std::to_string(k)).c_str());
    }
    usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);

    const std::string bytes = test::ReadBytes(FilePath());
    int n = saved;
    while (n < saved + 1000 && FileAfter(n) != bytes) ++n;
    ASSERT_EQ(bytes, FileAfter(n)) << "kill " << kill << " left a table that no save wrote";
    saved = n;
    if (!Leftovers(dir_.path()).empty()) ++interrupted;

    // The next start reads the same table and clears away what the killed save left.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, FilePath().c_str());  // a fresh process's empty cache
    ASSERT_EQ(Rows(RankingTable()), TableAfter(saved));
    ASSERT_EQ(Leftovers(dir_.path()), std::vector<std::string>{}) << "kill " << kill;
  }
  // Proof that the kills fell inside saves and that the saves got on.
  RecordProperty("interrupted", interrupted);
  RecordProperty("saved", saved);
  EXPECT_GT(interrupted, kKills / 10);
  EXPECT_GT(saved, kKills / 10);
}

TEST_F(RankingCrashTest, TwoCopiesSavingAtTheSameMomentKeepBothResults) {
  const int kRounds = 20;
  for (int round = 0; round < kRounds; ++round) {
    // Both copies have loaded the same table before either saves; each result beats it.
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    pid_t copies[2];
    for (int c = 0; c < 2; ++c) {
      copies[c] = fork();
      ASSERT_GE(copies[c], 0);
      if (copies[c] == 0) {
        close(go[1]);
        RankingTable table;
        char start;
        if (read(go[0], &start, 1) != 1) _exit(2);
        const int score = 2 * round + c + 1;
        table.Insert(score, c, ("Copy" + std::to_string(c)).c_str());
        _exit(0);
      }
    }
    close(go[0]);
    usleep(5000);  // both have loaded
    ASSERT_EQ(write(go[1], "go", 2), 2);
    close(go[1]);
    for (pid_t pid : copies) {
      int status = 0;
      ASSERT_EQ(waitpid(pid, &status, 0), pid);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RankingTable table;
    std::vector<int> scores;
    for (int i = 0; i < RankingTable::kEntryCount; ++i) scores.push_back(table.ScoreAt(i));
    EXPECT_EQ(std::count(scores.begin(), scores.end(), 2 * round + 1), 1) << "round " << round;
    EXPECT_EQ(std::count(scores.begin(), scores.end(), 2 * round + 2), 1) << "round " << round;
  }
}

}  // namespace
