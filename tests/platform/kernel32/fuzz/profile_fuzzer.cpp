// Fuzzes the private profile functions on a real file: any starting bytes, then a series
// of reads, writes and deletions. Beyond not crashing it checks that
// - reads stay inside the buffer, terminate it and return the documented counts;
// - a value written with well-formed names reads back as written;
// - a write changes at most one existing line, and deletions only remove whole lines,
//   so every other line of the file survives byte for byte;
// - a deleted key or section reads as missing;
// - no temporary file is left behind.
#include <dirent.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/kernel32/kernel32.h"

namespace {

// Printable form of bytes for a failure report.
std::string Escaped(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    char hex[8];
    std::snprintf(hex, sizeof hex, c >= 0x20 && c < 0x7F && c != '\\' ? "%c" : "\\x%02X", c);
    out += hex;
  }
  return out;
}

// Aborts when `ok` is false, with `what` and whatever `describe` (if given) tells about it;
// the description is made only then, so that checks that hold cost nothing more.
void Check(bool ok, const char* what, const std::function<std::string()>& describe = {}) {
  if (!ok) {
    std::fprintf(stderr, "profile_fuzzer: invariant broken: %s\n%s\n", what, describe ? describe().c_str() : "");
    std::abort();
  }
}

std::string Context(const std::string& section, const std::string& key, const std::string& before,
                    const std::string& after) {
  return "section '" + Escaped(section) + "' key '" + Escaped(key) + "'\nbefore: " + Escaped(before) +
         "\nafter:  " + Escaped(after);
}

// The fuzzer's own directory, made at start and removed at exit. A plain array, so that it
// is still there when the exit handler runs.
char directory[64];

std::string Directory() { return directory; }
std::string FilePath() { return Directory() + "/f.ini"; }

void MakeDirectory() {
  // tmpfs when there is one: every write flushes the file to disk.
  const char* parent = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::snprintf(directory, sizeof directory, "%s/profile_fuzz.XXXXXX", parent);
  if (mkdtemp(directory) == nullptr) std::abort();
  std::atexit([] {
    std::remove(FilePath().c_str());
    rmdir(directory);
  });
}

std::string ReadFile() {
  std::string bytes;
  if (FILE* f = std::fopen(FilePath().c_str(), "rb")) {
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
    std::fclose(f);
  }
  return bytes;
}

void WriteFile(const std::string& bytes) {
  FILE* f = std::fopen(FilePath().c_str(), "wb");
  if (f == nullptr) std::abort();
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

bool OnlyTheFileIsThere() {
  DIR* d = opendir(Directory().c_str());
  bool only = true;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name != "." && name != ".." && name != "f.ini") only = false;
  }
  closedir(d);
  return only;
}

struct Line {
  std::size_t begin, next;
};

// Lines as the profile functions see them: ended by CRLF, CR or LF.
std::vector<Line> Lines(const std::string& text) {
  std::vector<Line> lines;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    std::size_t next = end;
    if (next < text.size()) next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    lines.push_back({pos, next});
    pos = next;
  }
  return lines;
}

// The bytes that differ between the two files all lie within one line of the old file.
bool ChangesAtMostOneLine(const std::string& before, const std::string& after) {
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
    ++suffix;
  const std::size_t changedEnd = before.size() - suffix;
  if (changedEnd <= prefix) return true;  // only an insertion
  for (const Line& line : Lines(before))
    if (line.begin <= prefix && prefix < line.next) return changedEnd <= line.next;
  return false;
}

// `after` is `before` with some of its lines left out.
bool RemovesWholeLines(const std::string& before, const std::string& after) {
  std::size_t at = 0;
  for (const Line& line : Lines(before)) {
    const std::size_t length = line.next - line.begin;
    if (after.compare(at, length, before, line.begin, length) == 0 && at + length <= after.size()) at += length;
  }
  return at == after.size();
}

// Names that collide in interesting ways: case, and double-byte characters whose trail
// bytes are 'A', 'a', '\' and ']'.
const char* const kNames[] = {"s",        "S",        "Sec",      "1",   "2",  "Name", "Score", "k",  "K",  "\x95\x5C",
                              "\x83\x41", "\x83\x61", "\x83\x5D", "a b", "[x", "x]y",  "=",     ";c", " s "};

std::string PickName(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) return kNames[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kNames) - 1)];
  return in.ConsumeRandomLengthString(12).c_str();  // the functions see it up to its first NUL
}

// A value made of ASCII and a few double-byte characters, without blanks at its ends,
// line ends or a pair of outer quotes: one that must read back exactly as written.
std::string PickPlainValue(FuzzedDataProvider& in) {
  static const char* const pieces[] = {"a", "Z", "0", "9", "=", ";", "[", "]", "\"", "'", " ", "\x95\x5C", "\x83\x5D"};
  std::string value;
  for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n)
    value += pieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(pieces) - 1)];
  for (bool changed = true; changed;) {
    const std::size_t size = value.size();
    while (!value.empty() && value.back() == ' ') value.pop_back();
    while (!value.empty() && value.front() == ' ') value.erase(0, 1);
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) value.pop_back();
    changed = value.size() != size;
  }
  return value;
}

// Whole characters only. A file with a byte order mark (UTF-16 or UTF-8) holds only what
// survives the trip through Unicode, so there only ASCII and the double-byte characters
// used here count.
bool IsWholeCharacters(const std::string& s, bool encoded) {
  static const char* const known[] = {"\x95\x5C", "\x83\x41", "\x83\x61", "\x83\x5D", "\x83\x5C"};
  for (std::size_t i = 0; i < s.size(); ++i) {
    auto b = static_cast<unsigned char>(s[i]);
    if (IsDBCSLeadByte(b)) {
      if (i + 1 >= s.size()) return false;
      auto t = static_cast<unsigned char>(s[i + 1]);
      if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
      if (encoded &&
          std::none_of(std::begin(known), std::end(known), [&](const char* k) { return s.compare(i, 2, k) == 0; }))
        return false;
      ++i;
    } else if (encoded && b >= 0x80) {
      return false;
    }
  }
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

// Names that the file can hold and give back: no line ends, no blanks at the ends, no ']'
// in a section, no '=' in a key, a key that does not look like a comment or a header.
bool IsWellFormedSection(const std::string& s, bool encoded) {
  return IsWholeCharacters(s, encoded) && s.find_first_of("\r\n]") == std::string::npos &&
         (s.empty() || (!IsBlank(s.front()) && !IsBlank(s.back())));
}
bool IsWellFormedKey(const std::string& k, bool encoded) {
  return IsWholeCharacters(k, encoded) && !k.empty() && k.find_first_of("\r\n=") == std::string::npos &&
         !IsBlank(k.front()) && !IsBlank(k.back()) && k.front() != ';' && k.front() != '[';
}

std::string ReadString(const char* section, const char* key, const char* path) {
  char buffer[512];
  DWORD n = GetPrivateProfileStringA(section, key, "\x01missing", buffer, sizeof buffer, path);
  return std::string(buffer, n);
}

void FuzzRead(FuzzedDataProvider& in, const char* path) {
  const std::string section = PickName(in);
  const std::string key = PickName(in);
  const bool listSections = in.ConsumeBool() && in.ConsumeBool();
  const bool listKeys = !listSections && in.ConsumeBool() && in.ConsumeBool();
  const DWORD size = in.ConsumeIntegralInRange<DWORD>(0, 300);
  std::vector<char> buffer(size + 16, '\x7F');
  DWORD n = GetPrivateProfileStringA(listSections ? nullptr : section.c_str(), listKeys ? nullptr : key.c_str(),
                                     "dflt  ", buffer.data(), size, path);
  for (std::size_t i = size; i < buffer.size(); ++i) Check(buffer[i] == '\x7F', "read wrote past the buffer");
  if (size == 0) {
    Check(n == 0, "a zero-size read returned a count");
    return;
  }
  Check(n <= size - 1, "read returned more than fits");
  Check(buffer[n] == '\0', "result not terminated");
  if (listSections) {
    // A whole list ends with its last name's NUL and one more; a list cut short ends in two
    // NULs after the count.
    const bool whole = n == 0 || (buffer[n - 1] == '\0' && buffer[n] == '\0');
    const bool cut = size >= 2 && n == size - 2 && buffer[n] == '\0' && buffer[n + 1] == '\0';
    Check(whole || cut, "list without its final NULs");
  }
  GetPrivateProfileIntA(section.c_str(), key.c_str(), -7, path);
}

void FuzzWrite(FuzzedDataProvider& in, const char* path, bool encoded) {
  const std::string section = PickName(in);
  const std::string key = PickName(in);
  const int kind = in.ConsumeIntegralInRange(0, 3);
  if (kind == 3) {  // anything at all
    const std::string value = in.ConsumeRandomLengthString(64);
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path);
    return;
  }
  // 0: set a value that must read back; 1: delete the key; 2: delete the whole section.
  const std::string value = kind == 0 ? PickPlainValue(in) : std::string();
  const std::string before = ReadFile();
  if (!WritePrivateProfileStringA(section.c_str(), kind == 2 ? nullptr : key.c_str(),
                                  kind == 0 ? value.c_str() : nullptr, path))
    return;  // an empty key, or a file that could not be read
  const std::string after = ReadFile();
  const auto context = [&] {
    return Context(section, key, before, after) + (kind == 0 ? "\nvalue: " + Escaped(value) : std::string());
  };
  if (IsWellFormedSection(section, encoded) && IsWellFormedKey(key, encoded)) {
    const std::string read = ReadString(section.c_str(), key.c_str(), path);
    if (kind == 0)
      Check(read == value, "a written value did not read back", context);
    else
      Check(read == "\x01missing", kind == 1 ? "a deleted key is still there" : "a deleted section is still there",
            context);
  }
  if (encoded) return;
  if (kind == 0)
    Check(ChangesAtMostOneLine(before, after), "a write changed more than one line", context);
  else
    Check(RemovesWholeLines(before, after),
          kind == 1 ? "deleting a key did more than remove lines" : "deleting a section did more than remove lines",
          context);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MakeDirectory();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const bool bom = in.ConsumeBool() && in.ConsumeBool();
  const bool utf8 = bom && in.ConsumeBool();
  std::string initial = in.ConsumeRandomLengthString(16384);
  if (bom) initial.insert(0, utf8 ? "\xEF\xBB\xBF" : "\xFF\xFE");
  const bool encoded = initial.starts_with("\xFF\xFE") || initial.starts_with("\xEF\xBB\xBF");
  WriteFile(initial);
  // The same file named the Windows way now and then.
  const std::string path = in.ConsumeBool() ? Directory() + "\\f.ini" : FilePath();
  for (int op = 0; op < 8 && in.remaining_bytes() > 0; ++op) {
    if (in.ConsumeBool())
      FuzzRead(in, path.c_str());
    else
      FuzzWrite(in, path.c_str(), encoded);
  }
  Check(OnlyTheFileIsThere(), "a temporary file was left behind");
  return 0;
}
