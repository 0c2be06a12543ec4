// The entries of a table as values that tests can compare and print.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ranking/ranking_table.h"

namespace ranking_test {

struct Row {
  int score;
  int body;
  std::string name;
  bool operator==(const Row&) const = default;
};

inline std::vector<Row> Rows(const RankingTable& table) {
  std::vector<Row> rows;
  for (int i = 0; i < RankingTable::kEntryCount; ++i)
    rows.push_back({table.ScoreAt(i), table.BodyAt(i), table.NameAt(i)});
  return rows;
}

inline void PrintTo(const Row& r, std::ostream* os) {
  *os << "(" << r.score << ", " << r.body << ", \"" << r.name << "\")";
}

}  // namespace ranking_test
