// An MM_MCINOTIFY owed to a window: by a play when it ends, or by a command sent with the
// notify flag.
#pragma once

#include <functional>

#include "platform/win32_types.h"
#include "platform/winmm/winmm.h"

namespace win32::winmm {

// Delivers a notification: posts MM_MCINOTIFY in the program, records it in tests.
using NoticeSink = std::function<void(HWND window, WPARAM code, LPARAM device)>;

struct Notice {
  const NoticeSink* sink = nullptr;
  HWND window = nullptr;
  MCIDEVICEID device = 0;

  // A command sent without a callback window asks for nothing to be posted.
  void Post(WPARAM code) const {
    if (sink && window) (*sink)(window, code, static_cast<LPARAM>(device));
  }
};

}  // namespace win32::winmm
