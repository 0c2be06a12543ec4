// Where Ranking.dat is looked for.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ranking/ranking_path.h"

namespace {

TEST(RankingPath, OneSeparatorBeforeTheFileName) {
  const std::string longest(kRankingPathBytes - 1 - 12, 'd');  // with "\Ranking.dat" and the zero: 256
  struct Case {
    std::string directory;
    std::string expected;
  } cases[] = {
      {"C:\\Games\\Porongo", "C:\\Games\\Porongo\\Ranking.dat"},
      {"C:\\", "C:\\Ranking.dat"},  // a drive's root already ends with one
      {"/", "/Ranking.dat"},
      {"/home/player", "/home/player\\Ranking.dat"},
      {"/home/player/", "/home/player/Ranking.dat"},
      // 表 and ソ end in the trail byte 0x5C, which is no separator.
      {"/games/\x95\x5C", "/games/\x95\x5C\\Ranking.dat"},
      {"/games/\x83\x5C", "/games/\x83\x5C\\Ranking.dat"},
      {"/games/\x95\x5C\\", "/games/\x95\x5C\\Ranking.dat"},
      {longest, longest + "\\Ranking.dat"},
      {longest + "d", ".\\Ranking.dat"},  // one byte too long for the buffer
      {std::string(300, 'x'), ".\\Ranking.dat"},
      {"", ".\\Ranking.dat"},  // no directory to be had
  };
  for (const Case& c : cases) {
    char path[kRankingPathBytes];
    std::memset(path, '#', sizeof path);
    MakeRankingPath(c.directory.c_str(), static_cast<DWORD>(c.directory.size()), path);
    EXPECT_EQ(std::string(path), c.expected) << c.directory;
  }
}

}  // namespace
