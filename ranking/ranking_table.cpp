#include "ranking/ranking_table.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/win32.h"
#include "ranking/ranking_file.h"
#include "ranking/ranking_path.h"

namespace {

const char kNoName[] = "No Name";

// Copies at most RankingTable::kNameBytes bytes of `name` into `dest`, ending after the
// last whole character that fits: a double-byte character is never cut in half, and a
// lead byte without its trail byte is dropped.
void CopyName(char* dest, const char* name) {
  int length = 0;
  while (name[length] != '\0') {
    const bool lead = IsDBCSLeadByte(static_cast<BYTE>(name[length]));
    const int width = lead ? 2 : 1;
    if (length + width > RankingTable::kNameBytes || (lead && name[length + 1] == '\0')) break;
    length += width;
  }
  std::memcpy(dest, name, length);
  dest[length] = '\0';
}

void SectionName(int i, char* section, std::size_t size) { std::snprintf(section, size, "%d", i + 1); }

void ReportSaveFailure(const char* path, DWORD error) {
  char reason[256];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason,
                                sizeof reason, nullptr);
  if (length == 0) length = static_cast<DWORD>(std::snprintf(reason, sizeof reason, "error %lu", (unsigned long)error));
  while (length > 0 && (reason[length - 1] == '\r' || reason[length - 1] == '\n' || reason[length - 1] == ' '))
    reason[--length] = '\0';
  // The file named as the system names it, whatever separators the path was built with.
  char shown[2 * kRankingPathBytes];
  DWORD shownLength = GetFullPathNameA(path, sizeof shown, shown, nullptr);
  std::fprintf(stderr, "porongo: the ranking could not be saved to %s: %s\n",
               shownLength > 0 && shownLength < sizeof shown ? shown : path, reason);
}

}  // namespace

RankingTable::RankingTable() { Load(); }

void RankingTable::Load() {
  RankingFile file(RankingFile::Reading);
  ReadEntries(file.Path());
  for (const Change& change : unsaved) Apply(change);
}

void RankingTable::ReadEntries(const char* path) {
  for (int i = 0; i < kEntryCount; ++i) {
    char section[16];
    SectionName(i, section, sizeof section);
    scores[i] = static_cast<int>(GetPrivateProfileIntA(section, "Score", 0, path));
    bodies[i] = static_cast<int>(GetPrivateProfileIntA(section, "Body", 0, path));
    // Room for a whole name and the character after it, so that the name is cut here at a
    // whole character: of a value too long for its buffer, the profile functions promise
    // only a cut, and a double-byte character at the cut may come back as any byte (Wine
    // leaves it unwritten).
    char name[kNameBytes + 3];
    GetPrivateProfileStringA(section, "Name", kNoName, name, sizeof name, path);
    CopyName(names[i], name);
  }
}

bool RankingTable::WriteEntries(const char* path) const {
  for (int i = 0; i < kEntryCount; ++i) {
    char section[16];
    char body[16];
    char score[16];
    SectionName(i, section, sizeof section);
    std::snprintf(body, sizeof body, "%d", bodies[i]);
    std::snprintf(score, sizeof score, "%d", scores[i]);
    if (!WritePrivateProfileStringA(section, "Name", names[i], path) ||
        !WritePrivateProfileStringA(section, "Body", body, path) ||
        !WritePrivateProfileStringA(section, "Score", score, path))
      return false;
  }
  return true;
}

bool RankingTable::SaveTo(RankingFile& file) const {
  DWORD error;
  if (!file.Locked() || !file.BeginReplacement()) {
    error = file.Error();
  } else if (!WriteEntries(file.Replacement())) {
    error = GetLastError();
    file.AbandonReplacement();
  } else if (!file.FinishReplacement()) {
    error = file.Error();
    file.AbandonReplacement();
  } else {
    return true;
  }
  ReportSaveFailure(file.Path(), error);
  return false;
}

bool RankingTable::Save() const {
  RankingFile file(RankingFile::Writing);
  return SaveTo(file);
}

int RankingTable::RankOf(int score) const {
  for (int i = 0; i < kEntryCount; ++i)
    if (scores[i] < score) return i + 1;
  return 0;
}

void RankingTable::Apply(const Change& change) {
  if (change.reset) {
    for (int i = 0; i < kEntryCount; ++i) {
      scores[i] = 0;
      bodies[i] = 0;
      std::strcpy(names[i], kNoName);
    }
    return;
  }
  const int rank = RankOf(change.score);
  if (rank == 0) return;
  // The carried entry changes places with each entry from the rank down; what is carried
  // out at the end, the old fifth, drops off.
  int carriedScore = change.score;
  int carriedBody = change.body;
  char carriedName[kNameBytes + 1];
  std::strcpy(carriedName, change.name);
  for (int i = rank - 1; i < kEntryCount; ++i) {
    std::swap(scores[i], carriedScore);
    std::swap(bodies[i], carriedBody);
    std::swap(names[i], carriedName);
  }
}

void RankingTable::Record(const Change& change) {
  if (change.reset) unsaved.clear();  // nothing from before a reset survives it
  unsaved.push_back(change);
  RankingFile file(RankingFile::Writing);
  if (file.Locked()) {
    // The table as the file holds it now, which another copy of the game may have changed
    // since this one read it, with this copy's changes made again on top.
    ReadEntries(file.Path());
    for (const Change& c : unsaved) Apply(c);
  } else {
    Apply(change);
  }
  if (SaveTo(file)) unsaved.clear();
}

void RankingTable::Insert(int score, int body, const char* name) {
  Change change = {};
  change.reset = false;
  change.score = score;
  change.body = body;
  CopyName(change.name, name != nullptr ? name : "");
  Record(change);
}

void RankingTable::Reset() {
  Change change = {};
  change.reset = true;
  Record(change);
}
