// Whether a test runs under Wine. Windows is the reference for what the game's tests
// expect; where Wine behaves otherwise, a test says so and uses this to step around it.
#pragma once

#include "platform/win32.h"

namespace test {

inline bool OnWine() {
#ifdef _WIN32
  // Wine's ntdll exports its version; Windows' does not.
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != NULL && GetProcAddress(ntdll, "wine_get_version") != NULL;
#else
  return false;
#endif
}

}  // namespace test
