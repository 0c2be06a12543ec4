#include "platform/kernel32/profile/profile_edit.h"

#include "platform/common/codepage.h"
#include "platform/kernel32/profile/profile_text.h"

namespace win32::profile {
namespace {

constexpr std::string_view kNewLine = "\r\n";

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line;
  line.reserve(key.size() + 1 + value.size() + kNewLine.size());
  line.append(key).append("=").append(value);
  return line;
}

// Inserting after `line`: it needs a line end first when it is the file's unterminated last line.
Splice InsertAfter(const Line& line, std::string text) {
  std::string lead = line.next == line.end ? std::string(kNewLine) : std::string();
  return {line.next, line.next, lead + std::move(text)};
}

}  // namespace

std::vector<Splice> PlanSetValue(const Document& doc, std::string_view section, std::string_view key,
                                 std::string_view value) {
  const std::string_view text = doc.Text();
  const Section* found = doc.FindSection(section);
  if (found == nullptr) {
    std::string added;
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') added += kNewLine;
    added.append("[").append(section).append("]").append(kNewLine);
    added += KeyLine(key, value) + std::string(kNewLine);
    const Offset end = static_cast<Offset>(text.size());
    return {Splice{end, end, std::move(added)}};
  }
  if (const Entry* entry = doc.FindEntry(*found, key)) {
    // A line that already reads as this value stays as it is, hand-made spacing and all.
    if (entry->hasValue && doc.View(entry->value) == UnquoteValue(TrimValueBlanks(value))) return {};
    const Line& line = entry->line;
    std::string rewritten = KeyLine(doc.View(entry->name), value);
    rewritten.append(text.substr(line.end, line.next - line.end));  // the line keeps its own line end
    return {Splice{line.begin, line.next, std::move(rewritten)}};
  }
  std::span<const Entry> entries = doc.EntriesOf(*found);
  const Line& after = entries.empty() ? found->header : entries.back().line;
  return {InsertAfter(after, KeyLine(key, value) + std::string(kNewLine))};
}

std::vector<Splice> PlanDeleteKey(const Document& doc, std::string_view section, std::string_view key) {
  std::vector<Splice> splices;
  const Section* found = doc.FindSection(section);
  if (found == nullptr) return splices;
  for (const Entry& entry : doc.EntriesOf(*found))
    if (cp932::SameName(doc.View(entry.name), key)) splices.push_back({entry.line.begin, entry.line.next, {}});
  return splices;
}

std::vector<Splice> PlanDeleteSection(const Document& doc, std::string_view section) {
  const std::string_view text = doc.Text();
  std::vector<Splice> splices;
  const auto remove = [&](Offset begin, Offset end) {
    if (!splices.empty() && splices.back().end == begin)
      splices.back().end = end;  // one splice for a run of removed lines
    else
      splices.push_back({begin, end, {}});
  };
  for (const Section& s : doc.Sections()) {
    if (!cp932::SameName(doc.View(s.name), section)) continue;
    remove(s.header.begin, s.header.next);
    for (std::size_t pos = s.header.next; pos < s.end;) {
      const Line line = LineAt(text, pos);
      pos = line.next;
      std::string_view content = TrimNameBlanks(text.substr(line.begin, line.end - line.begin));
      if (!content.starts_with(';')) remove(line.begin, line.next);
    }
  }
  return splices;
}

}  // namespace win32::profile
