// The .res file format: a sequence of resources, each a header (data size, header size, type,
// name, language...) followed by its data, both padded to four bytes.
#pragma once

#include <optional>
#include <vector>

#include "platform/resources/resource_formats.h"

namespace win32::res {

struct ResourceEntry {
  NameOrOrdinal type;
  NameOrOrdinal name;
  WORD language = 0;
  Bytes data;
};

// Every resource of a .res file, in file order (the empty entry that starts a .res file is
// left out). Nothing when any header or size in the file is damaged: a file that cannot be
// read whole is not trusted in part.
std::optional<std::vector<ResourceEntry>> ParseResFile(Bytes file);

// The data of the resource with this type and name, each an integer id (MAKEINTRESOURCE), a
// "#123" string meaning id 123, or a name compared case-insensitively; Japanese preferred, then
// language-neutral, then whichever comes first. Empty when there is none.
Bytes FindResourceData(const std::vector<ResourceEntry>& entries, LPCSTR type, LPCSTR name);

}  // namespace win32::res
