// GetFullPathNameA, by the name alone: nothing needs to exist.
#include <cstring>
#include <string>
#include <vector>

#include "platform/common/codepage.h"
#include "platform/kernel32/kernel32.h"

namespace {

// The parts of a code page 932 name between its separators ('\' or '/', never a trail byte).
std::vector<std::string> Parts(std::string_view name, bool& endsWithSeparator) {
  std::vector<std::string> parts(1);
  endsWithSeparator = false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto b = static_cast<unsigned char>(name[i]);
    endsWithSeparator = false;
    if (win32::cp932::IsLeadByte(b) && i + 1 < name.size()) {
      parts.back().append(name.substr(i++, 2));
    } else if (b == '\\' || b == '/') {
      parts.emplace_back();
      endsWithSeparator = true;
    } else {
      parts.back().push_back(static_cast<char>(b));
    }
  }
  return parts;
}

}  // namespace

DWORD WINAPI GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart) {
  if (lpFileName == nullptr || *lpFileName == '\0') {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  std::string name = lpFileName;
  if (name[0] != '\\' && name[0] != '/') {
    std::string directory(GetCurrentDirectoryA(0, nullptr), '\0');
    const DWORD got = GetCurrentDirectoryA(static_cast<DWORD>(directory.size()), directory.data());
    if (got == 0 || got >= directory.size()) return 0;  // the last error says why
    directory.resize(got);
    name = directory + "/" + name;
  }
  bool endsWithSeparator = false;
  std::vector<std::string> kept;
  for (std::string& part : Parts(name, endsWithSeparator)) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(std::move(part));
  }
  std::string full;
  for (const std::string& part : kept) full += "/" + part;
  if (full.empty() || endsWithSeparator) full += "/";

  const DWORD length = static_cast<DWORD>(full.size());
  if (lpBuffer == nullptr || nBufferLength <= length) return length + 1;  // the size needed, NUL included
  std::memcpy(lpBuffer, full.c_str(), full.size() + 1);
  if (lpFilePart != nullptr) *lpFilePart = full.back() == '/' ? nullptr : lpBuffer + full.rfind('/') + 1;
  return length;
}
