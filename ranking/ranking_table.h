// The five best results (score, body length and name) and Ranking.dat, the file that keeps
// them in the current directory.
#pragma once

#include <vector>

class RankingFile;

class RankingTable {
 public:
  static constexpr int kEntryCount = 5;  // entries in the table
  static constexpr int kNameBytes = 20;  // name bytes without the terminating zero

  // Runs Load().
  RankingTable();

  // Fills all five entries from Ranking.dat; missing values give (0, 0, "No Name"). Changes
  // that could not be saved yet stay on top of what the file holds.
  void Load();
  // Writes all five entries to Ranking.dat, all at once. False when the file could not be
  // written; a line on stderr then says why, and the file stays as it was.
  bool Save() const;
  // The rank (1 to 5) a result with this score would take, or 0 when it would not enter.
  // Among equal scores the older result stays above.
  int RankOf(int score) const;
  // Puts the result at its rank in the table as Ranking.dat holds it at this moment (another
  // copy of the game may have saved since this one loaded it), moving the lower entries
  // down, and saves. A name longer than kNameBytes is cut at the last whole character that
  // fits. When the file cannot be written the table still shows the result, and the next
  // save that succeeds writes it.
  void Insert(int score, int body, const char* name);
  // Clears every entry to (0, 0, "No Name") and saves, with the same rule for a failed save.
  void Reset();

  int ScoreAt(int i) const { return scores[i]; }
  int BodyAt(int i) const { return bodies[i]; }
  const char* NameAt(int i) const { return names[i]; }

 private:
  // An insertion, or a reset.
  struct Change {
    bool reset;
    int score;
    int body;
    char name[kNameBytes + 1];
  };

  // Makes the change, and saves the table as the file holds it with every change that is
  // not saved yet made again on top.
  void Record(const Change& change);
  // Makes the change in memory only.
  void Apply(const Change& change);
  // Reads every entry from the file at `path`.
  void ReadEntries(const char* path);
  // Writes every entry to the file at `path`, stopping at the first failure.
  bool WriteEntries(const char* path) const;
  // Saves through a file whose lock is (or could not be) taken.
  bool SaveTo(RankingFile& file) const;

  int scores[kEntryCount];
  int bodies[kEntryCount];
  char names[kEntryCount][kNameBytes + 1];
  std::vector<Change> unsaved;  // changes since the last save that succeeded, oldest first
};
