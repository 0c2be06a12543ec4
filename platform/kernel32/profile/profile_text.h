// Character-level rules of profile files: blanks, name comparison, integer values.
// Names and values are code page 932 bytes; a double-byte character's trail byte may look
// like an ASCII letter, '\', '[' or ']', so every scan here walks whole characters.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32_types.h"

namespace win32::profile {

// Blanks around section and key names in the file.
constexpr bool IsNameBlank(char c) { return c == ' ' || c == '\t'; }
// Blanks around values: vertical tabs go too.
constexpr bool IsValueBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

std::string_view TrimNameBlanks(std::string_view text);
std::string_view TrimValueBlanks(std::string_view text);

// Section and key names passed to the API lose their leading and trailing spaces (only
// spaces: a tab in an argument is part of the name).
std::string_view TrimArgument(std::string_view name);

// The value as the reader returns it: trimmed, and one pair of matching outer quotes
// ("..." or '...') removed.
std::string_view UnquoteValue(std::string_view trimmedValue);

// The form in which two equal names are identical.
std::string FoldName(std::string_view name);

// Position of the first single-byte character `c` (not a trail byte), or npos.
std::size_t FindCharacter(std::string_view text, char c);

// Leading blanks, an optional sign, then "0x" and hex digits or decimal digits, up to the
// first character that is not a digit; wraps modulo 2^32. No digits at all gives 0.
UINT ParseProfileInt(std::string_view value);

// Drops trailing spaces only, the way a default string is returned.
std::string_view TrimTrailingSpaces(std::string_view text);

}  // namespace win32::profile
