#include "platform/kernel32/profile/profile_document.h"

#include <algorithm>
#include <stdexcept>

#include "platform/common/codepage.h"
#include "platform/kernel32/profile/profile_text.h"

namespace win32::profile {
namespace {

constexpr std::string_view kUtf16Bom = "\xFF\xFE";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

Offset ToOffset(std::size_t value) { return static_cast<Offset>(value); }

// Where `part`, a view into `text`, lies in it.
Span SpanIn(std::string_view text, std::string_view part) {
  const auto begin = static_cast<std::size_t>(part.data() - text.data());
  return {ToOffset(begin), ToOffset(begin + part.size())};
}

}  // namespace

Line LineAt(std::string_view text, std::size_t pos) {
  std::size_t end = pos;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
  std::size_t next = end;
  if (next < text.size()) next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
  return {ToOffset(pos), ToOffset(end), ToOffset(next)};
}

Document Document::Parse(std::string raw) {
  Document doc;
  doc.raw_ = std::move(raw);
  if (doc.raw_.starts_with(kUtf16Bom))
    doc.encoding_ = Encoding::kUtf16;
  else if (doc.raw_.starts_with(kUtf8Bom))
    doc.encoding_ = Encoding::kUtf8;
  if (doc.encoding_ != Encoding::kAnsi) doc.Decode();
  doc.Index();
  return doc;
}

std::size_t Document::MarkBytes() const {
  return encoding_ == Encoding::kUtf16 ? kUtf16Bom.size() : encoding_ == Encoding::kUtf8 ? kUtf8Bom.size() : 0;
}

char16_t Document::UnitAt(std::size_t unit) const {
  const std::size_t byte = MarkBytes() + unit * UnitBytes();
  const auto low = static_cast<unsigned char>(raw_[byte]);
  if (encoding_ != Encoding::kUtf16) return low;
  return static_cast<char16_t>(low | (static_cast<unsigned char>(raw_[byte + 1]) << 8));
}

std::string Document::DecodeLine(std::size_t firstUnit, std::size_t endUnit) const {
  if (encoding_ == Encoding::kUtf8)
    return cp932::FromUtf8Lossy(std::string_view(raw_).substr(MarkBytes() + firstUnit, endUnit - firstUnit));
  std::u16string content;
  content.reserve(endUnit - firstUnit);
  for (std::size_t unit = firstUnit; unit < endUnit; ++unit) content.push_back(UnitAt(unit));
  return cp932::FromUtf16Lossy(content);
}

void Document::Decode() {
  // Line by line, so that the text and the raw bytes have the same lines and each line's
  // start can be mapped back to its bytes. A line end is the same unit in every encoding
  // (no UTF-8 sequence holds a CR or LF byte). An odd last byte of a UTF-16 file is no
  // character and is left out of the text (it stays in the raw bytes).
  const std::size_t units = (raw_.size() - MarkBytes()) / UnitBytes();
  std::size_t unit = 0;
  while (unit < units) {
    lineMap_.emplace_back(ToOffset(decoded_.size()), ToOffset(MarkBytes() + unit * UnitBytes()));
    const std::size_t first = unit;
    bool ascii = true;
    for (; unit < units; ++unit) {
      char16_t c = UnitAt(unit);
      if (c == u'\r' || c == u'\n') break;
      ascii = ascii && c < 0x80;
    }
    if (ascii)
      for (std::size_t u = first; u < unit; ++u) decoded_.push_back(static_cast<char>(UnitAt(u)));
    else
      decoded_ += DecodeLine(first, unit);
    if (unit < units) {
      const bool cr = UnitAt(unit) == u'\r';
      const bool crlf = cr && unit + 1 < units && UnitAt(unit + 1) == u'\n';
      decoded_ += crlf ? "\r\n" : cr ? "\r" : "\n";
      unit += crlf ? 2 : 1;
    }
  }
  if (decoded_.size() > kMaxProfileBytes) throw std::length_error("profile text too long");
}

void Document::Index() {
  const std::string_view text = Text();
  const auto closeSection = [&](Offset at) {
    if (sections_.empty()) return;
    sections_.back().end = at;
    sections_.back().endEntry = static_cast<std::uint32_t>(entries_.size());
  };
  for (std::size_t pos = 0; pos < text.size();) {
    const Line line = LineAt(text, pos);
    pos = line.next;
    std::size_t first = line.begin;
    while (first < line.end && IsNameBlank(text[first])) ++first;
    if (first == line.end || text[first] == ';') continue;  // blank or comment
    if (text[first] == '[') {
      // The name runs to the first ']' or, when there is none, to the end of the line;
      // anything after the ']' is ignored.
      std::string_view rest = text.substr(first + 1, line.end - first - 1);
      std::size_t close = FindCharacter(rest, ']');
      std::string_view name = TrimNameBlanks(rest.substr(0, close));
      closeSection(line.begin);
      Section section;
      section.header = line;
      section.name = SpanIn(text, name);
      section.firstEntry = section.endEntry = static_cast<std::uint32_t>(entries_.size());
      firstSection_.try_emplace(FoldName(name), static_cast<std::uint32_t>(sections_.size()));
      sections_.push_back(section);
      continue;
    }
    if (sections_.empty()) continue;  // text before the first section belongs to none
    std::string_view content = text.substr(first, line.end - first);
    std::size_t equals = content.find('=');  // '=' is never a trail byte
    Entry entry;
    entry.line = line;
    std::string_view name = TrimNameBlanks(content.substr(0, equals));
    entry.name = SpanIn(text, name);
    if (equals != std::string_view::npos) {
      std::string_view value = UnquoteValue(TrimValueBlanks(content.substr(equals + 1)));
      entry.value = SpanIn(text, value);
      entry.hasValue = true;
    }
    entries_.push_back(entry);
  }
  closeSection(ToOffset(text.size()));
}

const Section* Document::FindSection(std::string_view name) const {
  auto it = firstSection_.find(FoldName(name));
  return it == firstSection_.end() ? nullptr : &sections_[it->second];
}

const Entry* Document::FindEntry(const Section& section, std::string_view name) const {
  for (const Entry& entry : EntriesOf(section))
    if (cp932::SameName(View(entry.name), name)) return &entry;
  return nullptr;
}

std::span<const Entry> Document::EntriesOf(const Section& section) const {
  return std::span<const Entry>(entries_).subspan(section.firstEntry, section.endEntry - section.firstEntry);
}

std::size_t Document::RawOffset(Offset textOffset) const {
  if (encoding_ == Encoding::kAnsi) return textOffset;
  // The end of the text is the end of the last whole unit; an odd byte of a UTF-16 file
  // after it stays at the very end of the file.
  if (textOffset == decoded_.size()) return MarkBytes() + (raw_.size() - MarkBytes()) / UnitBytes() * UnitBytes();
  auto it = std::lower_bound(lineMap_.begin(), lineMap_.end(), std::make_pair(textOffset, Offset{0}));
  if (it == lineMap_.end() || it->first != textOffset) throw std::logic_error("splice not at a line start");
  return it->second;
}

std::string Document::EncodeInserted(std::string_view text) const {
  if (encoding_ == Encoding::kAnsi) return std::string(text);
  if (encoding_ == Encoding::kUtf8) return cp932::ToUtf8(text);
  std::string bytes;
  for (char16_t c : cp932::ToUtf16(text)) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::string Document::Apply(std::span<const Splice> splices) const {
  std::size_t extra = 0;
  for (const Splice& s : splices) extra += s.text.size() * (encoding_ == Encoding::kAnsi ? 1 : 2);
  std::string out;
  out.reserve(raw_.size() + extra);
  std::size_t copied = 0;  // raw bytes of the old file already dealt with
  for (const Splice& s : splices) {
    std::size_t from = RawOffset(s.begin);
    out.append(raw_, copied, from - copied);
    out += EncodeInserted(s.text);
    copied = RawOffset(s.end);
  }
  out.append(raw_, copied, std::string::npos);
  return out;
}

}  // namespace win32::profile
