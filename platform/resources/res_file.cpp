#include "platform/resources/res_file.h"

#include <cstdlib>

#include "platform/common/codepage.h"
#include "platform/resources/byte_reader.h"

namespace win32::res {
namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

// The smallest header: sizes, two ordinals and the five fields after them.
constexpr std::size_t kMinHeaderSize = 32;

bool IsEmptyEntry(const ResourceEntry& e) {
  return e.type.isOrdinal && e.type.ordinal == 0 && e.name.isOrdinal && e.name.ordinal == 0 && e.data.empty();
}

// A resource name as the caller gives it: an ordinal for MAKEINTRESOURCE and "#123", else a
// string.
NameOrOrdinal Key(LPCSTR id) {
  NameOrOrdinal key;
  if (IS_INTRESOURCE(id)) {
    key.isOrdinal = true;
    key.ordinal = LOWORD(reinterpret_cast<ULONG_PTR>(id));
    return key;
  }
  if (id[0] == '#') {
    char* end = nullptr;
    unsigned long value = std::strtoul(id + 1, &end, 10);
    if (end != id + 1 && *end == '\0' && value <= 0xFFFF) {
      key.isOrdinal = true;
      key.ordinal = static_cast<WORD>(value);
      return key;
    }
  }
  key.name = cp932::ToUtf16(id);
  return key;
}

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool Matches(const NameOrOrdinal& stored, const NameOrOrdinal& key) {
  if (stored.isOrdinal != key.isOrdinal) return false;
  if (key.isOrdinal) return stored.ordinal == key.ordinal;
  if (stored.name.size() != key.name.size()) return false;
  for (std::size_t i = 0; i < key.name.size(); ++i)
    if (Upper(stored.name[i]) != Upper(key.name[i])) return false;
  return true;
}

}  // namespace

std::optional<std::vector<ResourceEntry>> ParseResFile(Bytes file) {
  std::vector<ResourceEntry> entries;
  std::size_t pos = 0;
  while (pos < file.size()) {
    ByteReader header(file, pos);
    DWORD dataSize = header.U32();
    DWORD headerSize = header.U32();
    if (!header.ok() || headerSize < kMinHeaderSize || headerSize > file.size() - pos ||
        dataSize > file.size() - pos - headerSize)
      return std::nullopt;
    // The header's fields must lie within its own stated size.
    ByteReader fields(file.first(pos + headerSize), pos + 8);
    ResourceEntry entry;
    entry.type = fields.NameOrOrd();
    entry.name = fields.NameOrOrd();
    fields.Align(4);
    fields.U32();  // data version
    fields.U16();  // memory flags
    entry.language = fields.U16();
    fields.U32();  // version
    fields.U32();  // characteristics
    if (!fields.ok()) return std::nullopt;
    entry.data = file.subspan(pos + headerSize, dataSize);
    if (!IsEmptyEntry(entry)) entries.push_back(std::move(entry));
    // Each header starts on a four-byte boundary; the last resource's padding may be absent.
    std::size_t next = pos + headerSize + dataSize;
    pos = (next + 3) & ~std::size_t{3};
  }
  return entries;
}

Bytes FindResourceData(const std::vector<ResourceEntry>& entries, LPCSTR type, LPCSTR name) {
  if (type == nullptr || name == nullptr) return {};
  NameOrOrdinal typeKey = Key(type);
  NameOrOrdinal nameKey = Key(name);
  const ResourceEntry* japanese = nullptr;
  const ResourceEntry* neutral = nullptr;
  const ResourceEntry* first = nullptr;
  for (const ResourceEntry& e : entries) {
    if (!Matches(e.type, typeKey) || !Matches(e.name, nameKey)) continue;
    if (e.language == kJapanese && !japanese) japanese = &e;
    if (e.language == kNeutral && !neutral) neutral = &e;
    if (!first) first = &e;
  }
  const ResourceEntry* found = japanese ? japanese : neutral ? neutral : first;
  return found ? found->data : Bytes{};
}

}  // namespace win32::res
