// Reading the thread's queue: GetMessageA, PeekMessageA, WaitMessage.
//
// Order of retrieval, as on Windows: calls that arrived for window procedures are made first
// (they are not returned), then posted messages, the quit request, input, WM_PAINT for a
// window with an update region, and WM_TIMER for a due timer. WM_PAINT and WM_TIMER are
// made on demand, so they never pile up.
#include "platform/kernel32/kernel32.h"
#include "platform/user32/cursors.h"
#include "platform/user32/gamepad/gamepad.h"
#include "platform/user32/key_state.h"
#include "platform/user32/key_translation.h"
#include "platform/user32/menus/menu_key.h"
#include "platform/user32/message_queue.h"
#include "platform/user32/painting.h"
#include "platform/user32/qt/event_pump.h"
#include "platform/user32/timers.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

void MakeWaitingCalls(ThreadQueue& queue) {
  while (auto call = queue.TakeCall()) (*call)();
}

// What becomes messages before the queue is read: Qt's events (the keyboard and mouse among
// them), the gamepads, and calls that arrived for window procedures.
void Gather(ThreadQueue& queue) {
  qt::ProcessPendingEvents();
  gamepad::Poll();
  MakeWaitingCalls(queue);
}

// The wait for a message ends when a timer is due, or when the gamepads need reading.
std::optional<Clock::time_point> WakeUpTime(ThreadQueue& queue, const MessageFilter& filter) {
  auto timer = NextTimerDue(queue, filter);
  auto pads = gamepad::NextPoll();
  if (timer && pads) return std::min(*timer, *pads);
  return timer ? timer : pads;
}

std::optional<MSG> NextMessage(ThreadQueue& queue, const MessageFilter& filter, bool remove) {
  if (auto m = queue.TakePosted(filter, remove)) return m;
  if (auto m = queue.TakeQuit(filter, remove)) {
    m->time = MessageTimeNow();
    m->pt = CursorPositionNow();
    return m;
  }
  if (auto input = queue.TakeInput(filter, remove)) {
    if (remove) ApplyToKeyState(*input);
    RememberTypedText(*input);
    if (input->opensMenu) RememberMenuGesture(input->msg);
    return input->msg;
  }
  if (auto m = TakePaint(queue, filter, remove)) return m;
  if (auto m = TakeDueTimer(queue, filter, remove, Clock::now())) {
    m->time = MessageTimeNow();
    m->pt = CursorPositionNow();
    return m;
  }
  return std::nullopt;
}

// Looks for a message; with `wait`, blocks until there is one.
std::optional<MSG> Retrieve(const MessageFilter& filter, bool remove, bool wait) {
  ThreadQueue& queue = ThreadQueue::Current();
  for (;;) {
    Gather(queue);
    if (auto m = NextMessage(queue, filter, remove)) {
      queue.lastMessageTime = m->time;
      return m;
    }
    if (!wait) return std::nullopt;
    queue.Wait(WakeUpTime(queue, filter));
  }
}

bool ValidFilterWindow(HWND hwnd) { return !hwnd || MessageFilter::IsThreadOnly(hwnd) || LookupWindow(hwnd); }

}  // namespace
}  // namespace win32::user32

using namespace win32::user32;

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (!ValidFilterWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  *msg = *Retrieve(MessageFilter{hwnd, first, last}, true, true);
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last, UINT flags) {
  if (!msg || !ValidFilterWindow(hwnd)) return FALSE;
  auto found = Retrieve(MessageFilter{hwnd, first, last}, (flags & PM_REMOVE) != 0, false);
  if (!found) return FALSE;
  *msg = *found;
  return TRUE;
}

BOOL WINAPI WaitMessage(void) {
  ThreadQueue& queue = ThreadQueue::Current();
  MessageFilter all;
  // Wakes for reading the gamepads alone are not returned: only a message ends the wait.
  for (;;) {
    Gather(queue);
    if (queue.HasPending() || PaintPending(queue, all)) return TRUE;
    auto due = NextTimerDue(queue, all);
    if (due && *due <= Clock::now()) return TRUE;
    queue.Wait(WakeUpTime(queue, all));
  }
}

DWORD WINAPI GetMessageTime(void) { return ThreadQueue::Current().lastMessageTime; }
