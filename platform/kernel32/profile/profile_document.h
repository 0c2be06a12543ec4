// A profile file as the profile functions see it: its bytes exactly as they are on disk,
// and an index of the section headers and the entries (key lines) in them.
//
// Edits are splices of whole lines on the text, so every line that an edit does not touch
// is written back byte for byte, line ends and all. A file that starts with a byte order
// mark, UTF-16LE (as Windows reads it) or UTF-8 (as Notepad writes it), is read through
// code page 932 and its new lines are written in the file's own encoding; the mark and
// the untouched lines keep their original bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace win32::profile {

using Offset = std::uint32_t;

// The largest profile file that is read or written. A real INI file is a few kilobytes (a
// ranking file under one); the limit keeps a huge or runaway file from costing seconds and
// gigabytes at every call. Offsets into the text are 32-bit, far above it.
inline constexpr std::size_t kMaxProfileBytes = 4 << 20;

struct Span {
  Offset begin = 0;
  Offset end = 0;
};

// One line of the text: [begin, end) is its content, `next` is where the following line
// starts (after CR, LF or CRLF), equal to `end` for a last line without a line end.
struct Line {
  Offset begin = 0;
  Offset end = 0;
  Offset next = 0;
};

// A line inside a section that is neither blank nor a comment: `name=value`, or a bare
// name without '=' (which is not a key: reading it by name gives the default).
struct Entry {
  Line line;
  Span name;
  Span value;  // trimmed and unquoted
  bool hasValue = false;
};

struct Section {
  Line header;
  Span name;
  Offset end = 0;  // where the section's last line ends: the next header or the end of the text
  std::uint32_t firstEntry = 0;
  std::uint32_t endEntry = 0;
};

// Replace text [begin, end) with `text` (code page 932). Both ends lie at line starts or
// at the end of the text.
struct Splice {
  Offset begin = 0;
  Offset end = 0;
  std::string text;
};

// The line that starts at `pos` in `text`. CRLF, a bare CR and a bare LF all end a line.
Line LineAt(std::string_view text, std::size_t pos);

class Document {
 public:
  Document() = default;
  // Takes the file's bytes (at most kMaxProfileBytes). Any bytes at all are accepted.
  static Document Parse(std::string raw);

  std::string_view Raw() const { return raw_; }
  // The code page 932 text that the index refers to (the raw bytes unless the file has a
  // byte order mark).
  std::string_view Text() const { return encoding_ == Encoding::kAnsi ? std::string_view(raw_) : decoded_; }
  std::string_view View(Span s) const { return Text().substr(s.begin, s.end - s.begin); }

  // The first section with this name (names compare case-insensitively), or null.
  const Section* FindSection(std::string_view name) const;
  // The first entry with this name in the section, or null.
  const Entry* FindEntry(const Section& section, std::string_view name) const;
  std::span<const Section> Sections() const { return sections_; }
  std::span<const Entry> EntriesOf(const Section& section) const;

  // The file's new bytes after the splices (sorted, not overlapping) have been made.
  std::string Apply(std::span<const Splice> splices) const;

 private:
  enum class Encoding { kAnsi, kUtf8, kUtf16 };

  void Decode();
  std::size_t MarkBytes() const;
  std::size_t UnitBytes() const { return encoding_ == Encoding::kUtf16 ? 2 : 1; }
  char16_t UnitAt(std::size_t unit) const;
  std::string DecodeLine(std::size_t firstUnit, std::size_t endUnit) const;
  void Index();
  std::size_t RawOffset(Offset textOffset) const;
  std::string EncodeInserted(std::string_view text) const;

  std::string raw_;
  Encoding encoding_ = Encoding::kAnsi;
  std::string decoded_;                             // files with a mark only
  std::vector<std::pair<Offset, Offset>> lineMap_;  // files with a mark only: (text, raw) line starts
  std::vector<Section> sections_;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::uint32_t> firstSection_;  // folded name -> index
};

}  // namespace win32::profile
