// Window and thread timers. A timer does not queue anything: when the queue is read and a
// timer is due, one WM_TIMER is made for it, so late readers never see a pile of them.
#pragma once

#include <optional>

#include "platform/user32/message_queue.h"

namespace win32::user32 {

// The first due timer of this queue that the filter accepts, as a WM_TIMER message. With
// `remove` the timer starts its next period.
std::optional<MSG> TakeDueTimer(ThreadQueue& queue, const MessageFilter& filter, bool remove, Clock::time_point now);

// When the next timer of this queue that the filter accepts is due.
std::optional<Clock::time_point> NextTimerDue(ThreadQueue& queue, const MessageFilter& filter);

// True when `proc` was given to SetTimer; DispatchMessageA calls nothing else.
bool IsKnownTimerProc(TIMERPROC proc);

// Kills the timers of a window that is being destroyed.
void KillTimersOf(HWND hwnd);

}  // namespace win32::user32
