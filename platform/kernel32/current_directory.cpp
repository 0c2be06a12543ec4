#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/common/codepage.h"
#include "platform/kernel32/kernel32.h"

namespace {

// The working directory as the system has it (UTF-8 bytes), or nothing with errno set.
bool ReadWorkingDirectory(std::string& out) {
  std::string buffer(256, '\0');
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) {
      out.assign(buffer.c_str());
      return true;
    }
    if (errno != ERANGE) return false;
    buffer.resize(buffer.size() * 2);
  }
}

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  std::string system;
  if (!ReadWorkingDirectory(system)) {
    SetLastError(errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
    return 0;
  }
  std::string directory = system;
  if (!IsAscii(system)) {
    // The A functions speak code page 932. A directory whose name cannot be said in it
    // (a character outside CP932, or bytes that are not UTF-8) is reported as a failure
    // rather than as a mangled name that would lead somewhere else.
    std::optional<std::string> converted = win32::cp932::FromUtf8(system);
    if (!converted) {
      SetLastError(ERROR_INVALID_NAME);
      return 0;
    }
    directory = std::move(*converted);
  }
  const DWORD length = static_cast<DWORD>(directory.size());
  if (lpBuffer == nullptr || nBufferLength <= length) return length + 1;  // the size needed, NUL included
  std::memcpy(lpBuffer, directory.c_str(), directory.size() + 1);
  return length;
}
