#include "platform/kernel32/files/system_path.h"

#include "platform/common/codepage.h"

namespace win32 {

std::optional<std::string> ToSystemPath(std::string_view win32Path) {
  std::string mapped;
  mapped.reserve(win32Path.size());
  bool ascii = true;
  for (std::size_t i = 0; i < win32Path.size(); ++i) {
    const auto b = static_cast<unsigned char>(win32Path[i]);
    ascii = ascii && b < 0x80;
    if (cp932::IsLeadByte(b) && i + 1 < win32Path.size()) {
      mapped.append(win32Path.substr(i, 2));
      ++i;
    } else {
      mapped.push_back(b == '\\' ? '/' : static_cast<char>(b));
    }
  }
  if (ascii) return mapped;
  // Bytes that are not code page 932 decode to U+FFFD; such a name would open some other file.
  if (cp932::ToUtf16(mapped).find(u'\uFFFD') != std::u16string::npos) return std::nullopt;
  return cp932::ToUtf8(mapped);
}

std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace win32
