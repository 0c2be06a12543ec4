#include "platform/user32/timers.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <vector>

#include "platform/common/immortal.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  std::chrono::milliseconds period{};
  TIMERPROC proc = nullptr;
  Clock::time_point due;
  std::shared_ptr<ThreadQueue> queue;
};

struct Timers {
  std::mutex mutex;
  std::vector<Timer> timers;
  std::set<TIMERPROC> knownProcs;
  UINT_PTR nextThreadTimerId = 1;
};

Timers& TheTimers() {
  static Immortal<Timers> timers;
  return *timers;
}

bool Accepts(const MessageFilter& filter, const Timer& t) {
  return filter.MatchesMessage(WM_TIMER) && filter.MatchesWindow(t.hwnd);
}

}  // namespace

std::optional<MSG> TakeDueTimer(ThreadQueue& queue, const MessageFilter& filter, bool remove, Clock::time_point now) {
  // Matching a window filter looks windows up; collect the candidates first, then decide.
  std::vector<Timer> candidates;
  {
    Timers& t = TheTimers();
    std::lock_guard lock(t.mutex);
    for (const Timer& timer : t.timers) {
      if (timer.queue.get() == &queue && timer.due <= now) candidates.push_back(timer);
    }
  }
  std::sort(candidates.begin(), candidates.end(), [](const Timer& a, const Timer& b) { return a.due < b.due; });
  for (const Timer& c : candidates) {
    if (!Accepts(filter, c)) continue;
    if (remove) {
      Timers& t = TheTimers();
      std::lock_guard lock(t.mutex);
      for (Timer& timer : t.timers) {
        if (timer.hwnd != c.hwnd || timer.id != c.id || timer.queue.get() != &queue) continue;
        // The next period counts from when this one was due, so the cadence holds; a reader
        // more than a period late gets one message and a fresh period, never a backlog.
        timer.due += timer.period;
        if (timer.due <= now) timer.due = now + timer.period;
      }
    }
    MSG msg{};
    msg.hwnd = c.hwnd;
    msg.message = WM_TIMER;
    msg.wParam = c.id;
    msg.lParam = reinterpret_cast<LPARAM>(c.proc);
    return msg;
  }
  return std::nullopt;
}

std::optional<Clock::time_point> NextTimerDue(ThreadQueue& queue, const MessageFilter& filter) {
  std::vector<Timer> mine;
  {
    Timers& t = TheTimers();
    std::lock_guard lock(t.mutex);
    for (const Timer& timer : t.timers) {
      if (timer.queue.get() == &queue) mine.push_back(timer);
    }
  }
  std::optional<Clock::time_point> next;
  for (const Timer& timer : mine) {
    if (Accepts(filter, timer) && (!next || timer.due < *next)) next = timer.due;
  }
  return next;
}

bool IsKnownTimerProc(TIMERPROC proc) {
  Timers& t = TheTimers();
  std::lock_guard lock(t.mutex);
  return t.knownProcs.count(proc) != 0;
}

void KillTimersOf(HWND hwnd) {
  Timers& t = TheTimers();
  std::lock_guard lock(t.mutex);
  std::erase_if(t.timers, [&](const Timer& timer) { return timer.hwnd == hwnd; });
}

}  // namespace win32::user32

using namespace win32::user32;

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  // Without a window, a timer of the calling thread.
  auto queue = hwnd ? QueueOfWindow(hwnd) : ThreadQueue::CurrentShared();
  if (!queue) return 0;
  elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  auto period = std::chrono::milliseconds(elapse);

  Timers& t = TheTimers();
  UINT_PTR result;
  {
    std::lock_guard lock(t.mutex);
    if (proc) t.knownProcs.insert(proc);
    auto same = [&](const Timer& timer) {
      return timer.hwnd == hwnd && timer.id == id && (hwnd || timer.queue == queue);
    };
    auto existing = std::find_if(t.timers.begin(), t.timers.end(), same);
    if (!hwnd && existing == t.timers.end()) {
      // A new thread timer gets an identifier of its own, not the one asked for.
      auto inUse = [&](UINT_PTR candidate) {
        return std::any_of(t.timers.begin(), t.timers.end(),
                           [&](const Timer& timer) { return !timer.hwnd && timer.id == candidate; });
      };
      do {
        id = t.nextThreadTimerId++;
        if (t.nextThreadTimerId == 0x8000) t.nextThreadTimerId = 1;
      } while (inUse(id));
    }
    Timer timer{hwnd, id, period, proc, Clock::now() + period, queue};
    if (existing != t.timers.end()) {
      *existing = timer;  // replacing a timer restarts its period
    } else {
      t.timers.push_back(timer);
    }
    result = hwnd ? (id ? id : 1) : id;
  }
  queue->Wake();  // a GetMessageA that waits must learn of the new deadline
  return result;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
  auto queue = ThreadQueue::CurrentShared();
  Timers& t = TheTimers();
  std::lock_guard lock(t.mutex);
  auto before = t.timers.size();
  std::erase_if(t.timers, [&](const Timer& timer) {
    return timer.hwnd == hwnd && timer.id == id && (hwnd || timer.queue == queue);
  });
  return t.timers.size() != before ? TRUE : FALSE;
}
