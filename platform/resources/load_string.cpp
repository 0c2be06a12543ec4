// LoadStringA: a string of the program's string table, converted to code page 932.
#include <algorithm>
#include <cstring>

#include "platform/common/codepage.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"

int WINAPI LoadStringA(HINSTANCE, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
  if (lpBuffer == nullptr || cchBufferMax <= 0) return 0;
  lpBuffer[0] = '\0';
  // String ids are 16 bits; a larger one names no string (rather than aliasing a block).
  if (uID > 0xFFFF) return 0;
  // Strings live sixteen to a block; block n holds ids 16 (n - 1) to 16 n - 1.
  std::optional<std::u16string> text =
      win32::res::DecodeString(win32::res::Find(RT_STRING, MAKEINTRESOURCEA((uID >> 4) + 1)), uID);
  if (!text) return 0;
  // Characters without a code page 932 form become '?', as Windows' conversion does.
  std::string bytes = win32::cp932::FromUtf16Lossy(*text);
  // Room for the terminator; a double-byte character that does not fit whole is left out.
  std::size_t length = std::min(bytes.size(), static_cast<std::size_t>(cchBufferMax) - 1);
  std::size_t i = 0;
  while (i < length) {
    std::size_t width = win32::cp932::IsLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    if (i + width > length) break;
    i += width;
  }
  std::memcpy(lpBuffer, bytes.data(), i);
  lpBuffer[i] = '\0';
  return static_cast<int>(i);
}
