#include "platform/kernel32/kernel32.h"

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
  if (lpModuleName != nullptr) {
    // Only the program itself is a module here; there are no DLLs to name.
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // The classic image base of a Windows program. Callers only compare it and pass it back;
  // user32 and the resource reader take any module handle to mean this program.
  return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x00400000));
}
