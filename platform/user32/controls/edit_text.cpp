#include "platform/user32/controls/edit_text.h"

#include "platform/common/codepage.h"

namespace win32::user32 {

std::size_t Cp932Width(char16_t c) {
  if (c < 0x80) return 1;
  if (c >= 0xD800 && c <= 0xDFFF) return 0;  // half of a character beyond the code page
  auto bytes = cp932::FromUtf16(std::u16string_view(&c, 1));
  return bytes ? bytes->size() : 0;
}

std::size_t Cp932Length(std::u16string_view text) {
  std::size_t n = 0;
  for (char16_t c : text) n += Cp932Width(c);
  return n;
}

std::u16string FitToRoom(std::u16string_view typed, std::size_t room) {
  std::u16string fitted;
  std::size_t used = 0;
  for (char16_t c : typed) {
    std::size_t width = Cp932Width(c);
    if (width == 0) continue;
    if (used + width > room) break;
    used += width;
    fitted += c;
  }
  return fitted;
}

std::size_t ByteOffsetOf(std::u16string_view text, std::size_t index) {
  return Cp932Length(text.substr(0, std::min(index, text.size())));
}

std::size_t IndexAtByte(std::u16string_view text, std::size_t offset) {
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::size_t next = bytes + Cp932Width(text[i]);
    if (next > offset) return i;
    bytes = next;
  }
  return text.size();
}

}  // namespace win32::user32
