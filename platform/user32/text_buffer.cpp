#include "platform/user32/text_buffer.h"

#include <cstring>

#include "platform/common/codepage.h"

namespace win32::user32 {

std::size_t WholeCharacters(std::string_view text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t width = cp932::IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return end;
}

std::size_t CopyText(std::string_view text, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return 0;
  std::size_t n = WholeCharacters(text, size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

}  // namespace win32::user32
