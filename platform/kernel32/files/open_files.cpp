#include "platform/kernel32/files/open_files.h"

#include "platform/common/handle_map.h"
#include "platform/common/immortal.h"
#include "platform/kernel32/kernel32.h"

namespace win32::kernel32 {
namespace {

using FileMap = HandleMap<HANDLE, std::shared_ptr<OpenFile>>;

FileMap& Files() {
  // Multiples of four, as Windows' kernel handles are, in a range of their own.
  static Immortal<FileMap> files(0x90010, 4);
  return *files;
}

}  // namespace

HANDLE AddOpenFile(std::shared_ptr<OpenFile> file) {
  return Files().Add(std::make_unique<std::shared_ptr<OpenFile>>(std::move(file)));
}

std::shared_ptr<OpenFile> FindOpenFile(HANDLE handle) {
  auto file = Files().Read(handle, [](std::shared_ptr<OpenFile>& f) { return f; });
  if (!file) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return *file;
}

}  // namespace win32::kernel32

BOOL WINAPI CloseHandle(HANDLE hObject) {
  // The descriptor closes when the last user lets go of the file, and its locks go with it.
  if (!win32::kernel32::Files().Remove(hObject)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
