// The ranking table: ranks, insertion, reset, the file's contents and failed saves.
#include "ranking/ranking_table.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/common/on_wine.h"
#include "tests/common/scratch_dir.h"
#include "tests/ranking/ranking_rows.h"

namespace {

using ranking_test::Row;
using ranking_test::Rows;

// Ranking.dat as Windows writes it: CRLF, sections in order, keys Name, Body, Score.
std::string RankingFile(const std::vector<Row>& rows) {
  std::string file;
  for (std::size_t i = 0; i < rows.size(); ++i)
    file += "[" + std::to_string(i + 1) + "]\r\nName=" + rows[i].name + "\r\nBody=" + std::to_string(rows[i].body) +
            "\r\nScore=" + std::to_string(rows[i].score) + "\r\n";
  return file;
}

const std::vector<Row> kCleared(5, Row{0, 0, "No Name"});

// Each test works in a directory of its own, since the table lives in the current one.
class RankingTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(chdir(dir_.path().c_str()), 0); }

  std::string FilePath() const { return dir_.File("Ranking.dat"); }
  void WriteFile(const std::string& bytes) const { test::WriteBytes(FilePath(), bytes); }
  std::string ReadFile() const { return test::ReadBytes(FilePath()); }

  test::ScratchDir dir_;
  test::CurrentDirectoryGuard cwd_;  // goes back to the first directory before dir_ is removed
};

const std::vector<Row> kFiveResults = {
    {50, 20, "Taro"}, {40, 18, "\x95\x5C\x8E\xA6"}, {30, 9, "Jiro"}, {20, 7, "Saburo"}, {10, 3, "Shiro"}};

TEST_F(RankingTableTest, MissingFileGivesClearedTableAndNoFile) {
  RankingTable table;
  EXPECT_EQ(Rows(table), kCleared);
  EXPECT_FALSE(test::Exists(FilePath()));
  EXPECT_EQ(table.RankOf(0), 0);  // a cleared table takes any positive score
  EXPECT_EQ(table.RankOf(1), 1);
}

TEST_F(RankingTableTest, RankOfIsStrict) {
  WriteFile(RankingFile(kFiveResults));
  RankingTable table;
  struct {
    int score, rank;
  } cases[] = {{30, 4}, {31, 3}, {60, 1}, {51, 1}, {50, 2}, {11, 5}, {10, 0}, {0, 0}, {-5, 0}};
  for (auto c : cases) EXPECT_EQ(table.RankOf(c.score), c.rank) << c.score;
}

TEST_F(RankingTableTest, InsertMovesLowerEntriesDown) {
  WriteFile(RankingFile(kFiveResults));
  RankingTable table;
  table.Insert(35, 12, "Hanako");
  const std::vector<Row> expected = {
      {50, 20, "Taro"}, {40, 18, "\x95\x5C\x8E\xA6"}, {35, 12, "Hanako"}, {30, 9, "Jiro"}, {20, 7, "Saburo"}};
  EXPECT_EQ(Rows(table), expected);
  EXPECT_EQ(ReadFile(), RankingFile(expected));  // sections 1 and 2 untouched, the rest rewritten in place
  EXPECT_EQ(Rows(RankingTable()), expected);
}

TEST_F(RankingTableTest, InsertAtRankFiveReplacesOnlyTheFifth) {
  WriteFile(RankingFile(kFiveResults));
  RankingTable table;
  table.Insert(15, 4, "Goro");
  std::vector<Row> expected = kFiveResults;
  expected[4] = {15, 4, "Goro"};
  EXPECT_EQ(Rows(table), expected);
  EXPECT_EQ(ReadFile(), RankingFile(expected));
}

TEST_F(RankingTableTest, EqualScoreGoesBelowTheOlderResult) {
  WriteFile(RankingFile(kFiveResults));
  RankingTable table;
  table.Insert(30, 1, "New");
  EXPECT_EQ(Rows(table)[2], (Row{30, 9, "Jiro"}));
  EXPECT_EQ(Rows(table)[3], (Row{30, 1, "New"}));
  EXPECT_EQ(Rows(table)[4], (Row{20, 7, "Saburo"}));
}

TEST_F(RankingTableTest, InsertThatDoesNotEnterStillSaves) {
  RankingTable table;
  table.Insert(0, 5, "Nobody");
  EXPECT_EQ(Rows(table), kCleared);
  EXPECT_EQ(ReadFile(), RankingFile(kCleared));
}

TEST_F(RankingTableTest, ResetWritesFiveClearedSections) {
  WriteFile(RankingFile(kFiveResults));
  RankingTable table;
  table.Reset();
  EXPECT_EQ(Rows(table), kCleared);
  EXPECT_EQ(ReadFile(), RankingFile(kCleared));
  table.Reset();  // already clear: the same file
  EXPECT_EQ(ReadFile(), RankingFile(kCleared));
}

TEST_F(RankingTableTest, OutOfOrderFileIsTakenAsItStands) {
  WriteFile(RankingFile({{10, 1, "a"}, {50, 2, "b"}, {0, 0, "c"}, {0, 0, "d"}, {0, 0, "e"}}));
  RankingTable table;
  EXPECT_EQ(table.ScoreAt(0), 10);
  EXPECT_EQ(table.ScoreAt(1), 50);
  EXPECT_EQ(table.RankOf(20), 1);
  EXPECT_EQ(table.RankOf(5), 3);
}

TEST_F(RankingTableTest, WindowsFileSurvivesByteForByte) {
  if (test::OnWine()) GTEST_SKIP() << "Wine rewrites the whole file from what it read: spacing and blank lines go";
  // Hand-edited touches that a rewrite must keep: a comment, odd spacing, another key.
  const std::string windows =
      "; kept\r\n[1]\r\nName=\x95\x5C\x8E\xA6\r\nBody=12\r\nScore=50\r\nExtra=1\r\n"
      "[2]\r\nName = Taro \r\nBody=10\r\nScore=40\r\n"
      "[3]\r\nName=\x83\x5C\x83\x5C\r\nBody=8\r\nScore=30\r\n"
      "[4]\r\nName=No Name\r\nBody=0\r\nScore=0\r\n"
      "[5]\r\nName=No Name\r\nBody=0\r\nScore=0\r\n";
  WriteFile(windows);
  RankingTable table;
  EXPECT_EQ(Rows(table)[0], (Row{50, 12, "\x95\x5C\x8E\xA6"}));
  EXPECT_EQ(Rows(table)[1], (Row{40, 10, "Taro"}));
  EXPECT_TRUE(table.Save());
  EXPECT_EQ(ReadFile(), windows);

  table.Insert(5, 2, "\x95\x5C");  // rank 4
  std::string expected = windows;
  expected.replace(expected.find("[4]\r\nName=No Name\r\nBody=0\r\nScore=0"),
                   std::strlen("[4]\r\nName=No Name\r\nBody=0\r\nScore=0"),
                   "[4]\r\nName=\x95\x5C\r\nBody=2\r\nScore=5");
  EXPECT_EQ(ReadFile(), expected);
}

TEST_F(RankingTableTest, LongNamesAreCutAtWholeCharacters) {
  const std::string a19(19, 'A');
  const std::string a18(18, 'A');
  struct Case {
    std::string name;
    std::string kept;
  } cases[] = {
      {a19 + "\x95\x5C", a19},               // 表 would end at byte 21
      {a18 + "\x95\x5C", a18 + "\x95\x5C"},  // ends exactly at byte 20
      {std::string(25, 'B'), std::string(20, 'B')},
      {"\x95\x5C\x8E\xA6\x95\x5C\x8E\xA6\x95\x5C\x8E\xA6\x95\x5C\x8E\xA6\x95\x5C\x8E\xA6\x95\x5C",
       "\x95\x5C\x8E\xA6\x95\x5C\x8E\xA6\x95\x5C\x8E\xA6\x95\x5C\x8E\xA6\x95\x5C\x8E\xA6"},
      {"AB\x95", "AB"},  // a lead byte without its trail byte
      {"", ""},
  };
  for (const Case& c : cases) {
    // On reading the file...
    WriteFile("[1]\r\nName=" + c.name + "\r\nScore=9\r\n");
    RankingTable table;
    // Wine reads a lone lead byte at the end of a line as "・" (0x81 0x45), a whole
    // character, which stays; Linux's profile functions hand the byte back as it is.
    if (!test::OnWine() || c.name != "AB\x95") {
      EXPECT_EQ(std::string(table.NameAt(0)), c.kept) << "read " << c.name;
    }
    // ...and on insertion.
    table.Reset();
    table.Insert(9, 1, c.name.c_str());
    EXPECT_EQ(std::string(table.NameAt(0)), c.kept) << "inserted " << c.name;
    EXPECT_EQ(std::string(RankingTable().NameAt(0)), c.kept) << "saved " << c.name;
  }
}

TEST_F(RankingTableTest, EmptyNameIsNotTheDefault) {
  WriteFile("[1]\r\nName=\r\nScore=3\r\n[2]\r\nScore=2\r\n");
  RankingTable table;
  EXPECT_STREQ(table.NameAt(0), "");
  EXPECT_STREQ(table.NameAt(1), "No Name");
  EXPECT_STREQ(table.NameAt(2), "No Name");
}

#ifndef _WIN32
// Failed saves are made the POSIX way (a read-only file, a file-size limit in a child
// process, a current directory removed) and checked against platform/'s English message;
// Windows refuses to remove a directory in use and words its messages in the system's
// language. Directory names are UTF-8 bytes, as Linux takes them.

TEST_F(RankingTableTest, FailedSaveKeepsTheFileShowsTheResultAndSaysWhy) {
  WriteFile(RankingFile(kFiveResults));
  ASSERT_EQ(chmod(FilePath().c_str(), 0444), 0);
  RankingTable table;

  testing::internal::CaptureStderr();
  table.Insert(100, 30, "Winner");
  std::string said = testing::internal::GetCapturedStderr();
  std::vector<Row> shown = kFiveResults;
  shown.insert(shown.begin(), Row{100, 30, "Winner"});
  shown.pop_back();
  EXPECT_EQ(Rows(table), shown) << "the result is shown for the rest of the session";
  EXPECT_EQ(ReadFile(), RankingFile(kFiveResults));
  EXPECT_EQ(said, "porongo: the ranking could not be saved to " + FilePath() + ": Access is denied.\n");

  testing::internal::CaptureStderr();
  table.Reset();
  said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Rows(table), kCleared);
  EXPECT_EQ(ReadFile(), RankingFile(kFiveResults));
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

  // Once the file can be written, the next save writes everything the table has shown.
  chmod(FilePath().c_str(), 0644);
  table.Insert(5, 1, "Later");
  std::vector<Row> later = kCleared;
  later[0] = {5, 1, "Later"};
  EXPECT_EQ(Rows(table), later);
  EXPECT_EQ(ReadFile(), RankingFile(later));
}

TEST_F(RankingTableTest, SaveThatFailsHalfwayLeavesTheFileAsItWas) {
  // Entry 1's long name moves to section 2, which makes the file grow past the limit
  // only after section 1 has already been rewritten.
  const std::vector<Row> before = {{5, 0, "aaaaaaaaaa"}, {4, 0, "b"}, {3, 0, "c"}, {2, 0, "d"}, {1, 0, "e"}};
  WriteFile(RankingFile(before));
  const rlim_t limit = RankingFile(before).size() + 3;
  pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit r{limit, limit};
    setrlimit(RLIMIT_FSIZE, &r);
    RankingTable table;
    table.Insert(100, 0, "zzzzzzzzzz");
    _exit(Rows(table)[0] == Row{100, 0, "zzzzzzzzzz"} ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the table does not show the result that could not be saved";
  EXPECT_EQ(ReadFile(), RankingFile(before));
  EXPECT_FALSE(test::Exists(dir_.File("Ranking.dat.tmp")));
}

TEST_F(RankingTableTest, VanishedDirectory) {
  const std::string gone = dir_.File("gone");
  ASSERT_EQ(mkdir(gone.c_str(), 0755), 0);
  ASSERT_EQ(chdir(gone.c_str()), 0);
  ASSERT_EQ(rmdir(gone.c_str()), 0);
  RankingTable table;
  EXPECT_EQ(Rows(table), kCleared);
  testing::internal::CaptureStderr();
  table.Insert(10, 1, "x");
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Rows(table)[0], (Row{10, 1, "x"}));
  EXPECT_NE(said.find("Ranking.dat"), std::string::npos) << said;
}

TEST_F(RankingTableTest, DirectoryNamedInJapanese) {
  const std::string japanese = dir_.File("\xE8\xA1\xA8");  // 表, whose CP932 form ends in 0x5C
  ASSERT_EQ(mkdir(japanese.c_str(), 0755), 0);
  ASSERT_EQ(chdir(japanese.c_str()), 0);
  RankingTable table;
  table.Insert(10, 1, "x");
  EXPECT_EQ(test::ReadBytes(japanese + "/Ranking.dat").substr(0, 13), "[1]\r\nName=x\r\n");
  EXPECT_EQ(RankingTable().ScoreAt(0), 10);
}

TEST_F(RankingTableTest, DirectoryTooLongForThePathBuffer) {
  std::string deep = dir_.path();
  while (deep.size() < 300) {
    deep += "/" + std::string(40, 'n');
    ASSERT_EQ(mkdir(deep.c_str(), 0755), 0);
  }
  ASSERT_EQ(chdir(deep.c_str()), 0);
  RankingTable table;
  table.Insert(10, 1, "deep");
  EXPECT_EQ(RankingTable().ScoreAt(0), 10);
  EXPECT_TRUE(test::Exists(deep + "/Ranking.dat"));
}
#endif

}  // namespace
