// The rules of an ANSI edit control's text in code page 932: its limit counts bytes, a
// double-byte character counts two and is never split, and a character the code page does
// not hold cannot be typed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace win32::user32 {

// The bytes a character takes in code page 932: 1 or 2; 0 when the code page lacks it.
std::size_t Cp932Width(char16_t c);

// The bytes the text takes in code page 932.
std::size_t Cp932Length(std::u16string_view text);

// What of `typed` goes into `room` bytes: its characters in order, leaving out those the
// code page lacks, up to the first that does not fit whole.
std::u16string FitToRoom(std::u16string_view typed, std::size_t room);

// Positions: the byte offset of a character index, and the character index at a byte
// offset (an offset inside a double-byte character counts as the character's start).
std::size_t ByteOffsetOf(std::u16string_view text, std::size_t index);
std::size_t IndexAtByte(std::u16string_view text, std::size_t offset);

}  // namespace win32::user32
