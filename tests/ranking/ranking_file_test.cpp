// Ranking.dat shared by two tables, and the copy that a crashed save leaves. Written
// against the Win32 API and std::filesystem alone, so that it runs on Windows as well.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/win32.h"
#include "ranking/ranking_table.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Each test in a fresh current directory, where the table keeps its file.
class RankingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("porongo-ranking-" + std::to_string(std::random_device{}()));
    fs::create_directory(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  fs::path previous_ = fs::current_path();
  fs::path dir_;
};

TEST_F(RankingFileTest, TwoTablesOfOneFileKeepEachOthersResults) {
  // Two copies of the game started on the same file; each saves without knowing the other.
  RankingTable first;
  RankingTable second;
  first.Insert(30, 3, "First");
  second.Insert(20, 2, "Second");
  EXPECT_EQ(second.ScoreAt(0), 30);
  EXPECT_STREQ(second.NameAt(0), "First");
  EXPECT_EQ(second.ScoreAt(1), 20);
  RankingTable restarted;
  EXPECT_STREQ(restarted.NameAt(0), "First");
  EXPECT_STREQ(restarted.NameAt(1), "Second");
}

TEST_F(RankingFileTest, ACopyLeftByACrashedSaveGoesAtTheNextStart) {
  RankingTable().Insert(10, 1, "Kept");
  {
    std::ofstream crashed(dir_ / "Ranking.dat.tmp", std::ios::binary);
    crashed << "[1]\r\nName=Half";
  }
  const std::string before = ReadAll(dir_ / "Ranking.dat");
  RankingTable restarted;
  EXPECT_STREQ(restarted.NameAt(0), "Kept");
  EXPECT_FALSE(fs::exists(dir_ / "Ranking.dat.tmp"));
  EXPECT_EQ(ReadAll(dir_ / "Ranking.dat"), before);
}

TEST_F(RankingFileTest, AFileFarLargerThanARankingIsLeftAsItIs) {
  const std::string huge = "[1]\r\nName=Other\r\nScore=5\r\n" + std::string(5 << 20, ';') + "\r\n";
  { std::ofstream(dir_ / "Ranking.dat", std::ios::binary) << huge; }
  RankingTable table;
  table.Insert(10, 1, "Mine");
  EXPECT_STREQ(table.NameAt(0), "Mine");  // shown, though it could not be saved
  EXPECT_TRUE(ReadAll(dir_ / "Ranking.dat") == huge);
  EXPECT_FALSE(fs::exists(dir_ / "Ranking.dat.tmp"));
}

}  // namespace
