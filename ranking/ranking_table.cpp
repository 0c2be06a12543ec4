#include "ranking/ranking_table.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/win32.h"
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
  std::fprintf(stderr, "porongo: the ranking could not be saved to %s: %s\n", path, reason);
}

}  // namespace

RankingTable::RankingTable() { Load(); }

void RankingTable::Load() {
  char path[kRankingPathBytes];
  GetRankingPath(path);
  for (int i = 0; i < kEntryCount; ++i) {
    char section[16];
    SectionName(i, section, sizeof section);
    scores[i] = static_cast<int>(GetPrivateProfileIntA(section, "Score", 0, path));
    bodies[i] = static_cast<int>(GetPrivateProfileIntA(section, "Body", 0, path));
    char name[kNameBytes + 1];
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

bool RankingTable::Save() const {
  char path[kRankingPathBytes];
  GetRankingPath(path);
  if (WriteEntries(path)) return true;
  ReportSaveFailure(path, GetLastError());
  return false;
}

int RankingTable::RankOf(int score) const {
  for (int i = 0; i < kEntryCount; ++i)
    if (scores[i] < score) return i + 1;
  return 0;
}

void RankingTable::Commit(const RankingTable& next) {
  if (next.Save()) {
    *this = next;
    return;
  }
  // The failed save may have got through some of its writes before the one that failed;
  // writing the old table again puts those back (it writes nothing where nothing changed).
  char path[kRankingPathBytes];
  GetRankingPath(path);
  WriteEntries(path);
}

void RankingTable::Insert(int score, int body, const char* name) {
  RankingTable next(*this);
  const int rank = RankOf(score);
  if (rank > 0) {
    // The carried entry changes places with each entry from the rank down; what is carried
    // out at the end, the old fifth, drops off.
    int carriedScore = score;
    int carriedBody = body;
    char carriedName[kNameBytes + 1];
    CopyName(carriedName, name != nullptr ? name : "");
    for (int i = rank - 1; i < kEntryCount; ++i) {
      std::swap(next.scores[i], carriedScore);
      std::swap(next.bodies[i], carriedBody);
      std::swap(next.names[i], carriedName);
    }
  }
  Commit(next);
}

void RankingTable::Reset() {
  RankingTable next(*this);
  for (int i = 0; i < kEntryCount; ++i) {
    next.scores[i] = 0;
    next.bodies[i] = 0;
    std::strcpy(next.names[i], kNoName);
  }
  Commit(next);
}
