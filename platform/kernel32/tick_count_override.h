// A seam for tests that need to control the clock the program reads through GetTickCount.
#pragma once

#include <functional>

#include "platform/win32_types.h"

namespace win32::testing {

// From now on GetTickCount returns what `clock` returns, on every thread.
void SetTickCountOverride(std::function<DWORD()> clock);
// GetTickCount reads the system clock again.
void ClearTickCountOverride();

}  // namespace win32::testing
