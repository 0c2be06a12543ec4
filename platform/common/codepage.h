// Conversions between code page 932 (the ANSI code page of this platform) and Unicode.
// The platform keeps every text as CP932 bytes and converts only at its edges: window
// titles, widget texts, glyph rasterisation, the edit control.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace win32::cp932 {

// True for the first byte of a two-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Compares two CP932 names the way Windows compares the names of window classes, profile
// sections and keys, and MCI devices: ASCII letters without regard to case, a double-byte
// character only with itself (its trail byte may look like a letter).
bool SameName(std::string_view a, std::string_view b);

// CP932 to UTF-16. A byte sequence that is not CP932 becomes U+FFFD and decoding goes on
// after it, so damaged text is shown damaged instead of being cut short.
std::u16string ToUtf16(std::string_view text);

// UTF-16 to CP932, or nothing when a character has no CP932 form.
std::optional<std::string> FromUtf16(std::u16string_view text);

// UTF-16 to CP932 with '?' for every character that has no CP932 form.
std::string FromUtf16Lossy(std::u16string_view text);

// Convenience forms through UTF-8, for messages on stderr and for tests.
std::string ToUtf8(std::string_view text);
std::optional<std::string> FromUtf8(std::string_view text);
// UTF-8 to CP932 with '?' for every character that has no CP932 form and for every byte
// that is not part of a well-formed UTF-8 sequence.
std::string FromUtf8Lossy(std::string_view text);

}  // namespace win32::cp932
