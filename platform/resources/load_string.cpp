// LoadStringA: a string of the program's string table, converted to code page 932.
#include "platform/common/codepage.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"
#include "platform/user32/text_buffer.h"

int WINAPI LoadStringA(HINSTANCE, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
  if (lpBuffer == nullptr || cchBufferMax <= 0) return 0;
  lpBuffer[0] = '\0';
  // String ids are 16 bits; a larger one names no string (rather than aliasing a block).
  if (uID > 0xFFFF) return 0;
  // Strings live sixteen to a block; block n holds ids 16 (n - 1) to 16 n - 1.
  std::optional<std::u16string> text =
      win32::res::DecodeString(win32::res::Find(RT_STRING, MAKEINTRESOURCEA((uID >> 4) + 1)), uID);
  if (!text) return 0;
  // Characters without a code page 932 form become '?', as Windows' conversion does; a
  // double-byte character that does not fit whole is left out.
  std::string bytes = win32::cp932::FromUtf16Lossy(*text);
  return static_cast<int>(win32::user32::CopyText(bytes, lpBuffer, static_cast<std::size_t>(cchBufferMax)));
}
