// The five best results (score, body length and name) and Ranking.dat, the file that keeps
// them in the current directory.
#pragma once

class RankingTable {
 public:
  static constexpr int kEntryCount = 5;  // entries in the table
  static constexpr int kNameBytes = 20;  // name bytes without the terminating zero

  // Runs Load().
  RankingTable();

  // Fills all five entries from Ranking.dat; missing values give (0, 0, "No Name").
  void Load();
  // Writes all five entries to Ranking.dat. False when the file could not be written;
  // a line on stderr then says why.
  bool Save() const;
  // The rank (1 to 5) a result with this score would take, or 0 when it would not enter.
  // Among equal scores the older result stays above.
  int RankOf(int score) const;
  // Puts the result at its rank, moving the lower entries down, and saves. A name longer
  // than kNameBytes is cut at the last whole character that fits. When the file cannot
  // be written the table stays as it was.
  void Insert(int score, int body, const char* name);
  // Clears every entry to (0, 0, "No Name") and saves; when the file cannot be written
  // the table stays as it was.
  void Reset();

  int ScoreAt(int i) const { return scores[i]; }
  int BodyAt(int i) const { return bodies[i]; }
  const char* NameAt(int i) const { return names[i]; }

 private:
  // Makes `next` the table if it can be saved; otherwise puts the file back as it was.
  void Commit(const RankingTable& next);
  // Writes every entry to the file at `path`, stopping at the first failure.
  bool WriteEntries(const char* path) const;

  int scores[kEntryCount];
  int bodies[kEntryCount];
  char names[kEntryCount][kNameBytes + 1];
};
