// Copying code page 932 text into a caller's buffer the way WM_GETTEXT does.
#pragma once

#include <cstddef>
#include <string_view>

namespace win32::user32 {

// Copies as much of `text` as fits in `size` bytes with the terminating zero, never half of
// a double-byte character. Returns the bytes copied, without the zero.
std::size_t CopyText(std::string_view text, char* buffer, std::size_t size);

// The bytes of `text` that fit in `limit` bytes without cutting a double-byte character.
std::size_t WholeCharacters(std::string_view text, std::size_t limit);

}  // namespace win32::user32
