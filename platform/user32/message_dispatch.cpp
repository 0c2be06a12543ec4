// Delivering messages: DispatchMessageA, SendMessageA, PostMessageA, PostQuitMessage.
#include <future>

#include "platform/kernel32/kernel32.h"
#include "platform/user32/cursors.h"
#include "platform/user32/message_queue.h"
#include "platform/user32/timers.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

LRESULT CallProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = LookupWindow(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(hwnd, message, wParam, lParam);
}

// A message sent to a window of another thread: that thread makes the call while it reads
// its queue, and this one waits for the result.
LRESULT SendToOtherThread(ThreadQueue& target, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto result = std::make_shared<std::promise<LRESULT>>();
  std::future<LRESULT> future = result->get_future();
  target.PostCall([=] { result->set_value(CallProcedure(hwnd, message, wParam, lParam)); });
  return future.get();
}

}  // namespace
}  // namespace win32::user32

using namespace win32::user32;

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto queue = QueueOfWindow(hwnd);
  if (!queue) return 0;
  if (queue->IsOwnerThread()) return CallProcedure(hwnd, message, wParam, lParam);
  return SendToOtherThread(*queue, hwnd, message, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // Without a window, a message for the thread itself.
  auto queue = hwnd ? QueueOfWindow(hwnd) : ThreadQueue::CurrentShared();
  if (!queue) return FALSE;
  MSG msg{};
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = MessageTimeNow();
  msg.pt = CursorPositionNow();
  queue->Post(msg);
  return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
  ThreadQueue& queue = ThreadQueue::Current();
  queue.PostQuit(exitCode);
  queue.Wake();
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a callback that SetTimer was given is called: a posted WM_TIMER cannot make the
    // program jump anywhere else.
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    if (!IsKnownTimerProc(proc)) return 0;
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  if (!WindowOrError(msg->hwnd)) return 0;
  return CallProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
