// A profile file as the profile functions see it: its bytes exactly as they are on disk,
// and an index of the section headers and the entries (key lines) in them.
//
// Edits are splices of whole lines on the text, so every line that an edit does not touch
// is written back byte for byte, line ends and all. A file that starts with a UTF-16LE
// byte order mark is read through code page 932 and written back as UTF-16LE; its
// untouched lines keep their original UTF-16 bytes.
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

// Offsets into the text are 32-bit; larger files are not read.
inline constexpr std::size_t kMaxFileSize = 0x7FFFFFFF;

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
  // Takes the file's bytes (at most kMaxFileSize). Any bytes at all are accepted.
  static Document Parse(std::string raw);

  std::string_view Raw() const { return raw_; }
  // The code page 932 text that the index refers to (the raw bytes unless the file is UTF-16).
  std::string_view Text() const { return utf16_ ? std::string_view(decoded_) : std::string_view(raw_); }
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
  void DecodeUtf16();
  void Index();
  std::size_t RawOffset(Offset textOffset) const;
  std::string EncodeInserted(std::string_view text) const;

  std::string raw_;
  bool utf16_ = false;
  std::string decoded_;                             // UTF-16 files only
  std::vector<std::pair<Offset, Offset>> lineMap_;  // UTF-16 files only: (text, raw) line starts
  std::vector<Section> sections_;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::uint32_t> firstSection_;  // folded name -> index
};

}  // namespace win32::profile
