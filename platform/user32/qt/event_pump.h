// Qt's event loop, pumped from inside GetMessageA, PeekMessageA and WaitMessage: Qt's events
// are processed there and become queued Win32 messages; Qt never calls a window procedure.
#pragma once

#include <optional>

#include "platform/user32/message_queue.h"

namespace win32::user32::qt {

// True when the Qt application exists and the calling thread is its thread.
bool RunsQt();

// Processes the Qt events that are waiting, without blocking.
void ProcessPendingEvents();

// Blocks until a Qt event arrives, WakeEventLoop() is called, or `deadline` passes; the
// events that arrive are processed.
void WaitForEvents(std::optional<Clock::time_point> deadline);

// Wakes a WaitForEvents on the Qt thread; callable from any thread.
void WakeEventLoop();

}  // namespace win32::user32::qt
