#include "platform/user32/message_queue.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <map>

#include "platform/common/immortal.h"
#include "platform/kernel32/kernel32.h"
#include "platform/user32/qt/event_pump.h"
#include "platform/user32/window_table.h"

namespace win32::user32 {
namespace {

// Queues by thread. A queue lives as long as its thread, except the main thread's, which
// must outlive the static destructors that still call the platform after main() returns.
struct QueueRegistry {
  std::mutex mutex;
  std::map<std::thread::id, std::shared_ptr<ThreadQueue>> queues;
};

QueueRegistry& Registry() {
  static Immortal<QueueRegistry> registry;
  return *registry;
}

bool IsMainThread() { return syscall(SYS_gettid) == getpid(); }

struct QueueReleaser {
  ~QueueReleaser() {
    if (IsMainThread()) return;
    QueueRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    r.queues.erase(std::this_thread::get_id());
  }
};

template <typename Deque, typename Matches>
auto TakeFirst(Deque& queue, bool remove, Matches matches) -> std::optional<typename Deque::value_type> {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (!matches(*it)) continue;
    typename Deque::value_type found = *it;
    if (remove) queue.erase(it);
    return found;
  }
  return std::nullopt;
}

}  // namespace

bool MessageFilter::MatchesWindow(HWND target) const {
  if (!hwnd) return true;
  if (IsThreadOnly(hwnd)) return target == nullptr;
  return target == hwnd || IsDescendant(hwnd, target);
}

bool MessageFilter::MatchesMessage(UINT message) const {
  if (first == 0 && last == 0) return true;
  if (first <= last) return message >= first && message <= last;
  // A reversed range asks for everything outside it.
  return message >= first || message <= last;
}

ThreadQueue& ThreadQueue::Current() { return *CurrentShared(); }

std::shared_ptr<ThreadQueue> ThreadQueue::CurrentShared() {
  thread_local QueueReleaser releaser;
  QueueRegistry& r = Registry();
  std::lock_guard lock(r.mutex);
  auto& slot = r.queues[std::this_thread::get_id()];
  if (!slot) slot = std::make_shared<ThreadQueue>();
  return slot;
}

bool ThreadQueue::IsOwnerThread() const { return std::this_thread::get_id() == owner_; }

void ThreadQueue::Post(const MSG& msg) {
  {
    std::lock_guard lock(mutex_);
    posted_.push_back(msg);
  }
  Wake();
}

void ThreadQueue::PostCall(std::function<void()> call) {
  {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
  }
  Wake();
}

void ThreadQueue::Wake() {
  bool wakeQt;
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
    wakeQt = qtWaiting_;
  }
  wakeup_.notify_all();
  if (wakeQt) qt::WakeEventLoop();
}

void ThreadQueue::PostInput(InputMessage input) {
  std::lock_guard lock(mutex_);
  // Windows keeps only the latest of consecutive mouse moves, so a slow reader sees where the
  // pointer is, not every place it has been.
  if (input.msg.message == WM_MOUSEMOVE && !input_.empty()) {
    MSG& last = input_.back().msg;
    if (last.message == WM_MOUSEMOVE && last.hwnd == input.msg.hwnd && last.wParam == input.msg.wParam) {
      input_.back() = std::move(input);
      return;
    }
  }
  input_.push_back(std::move(input));
}

void ThreadQueue::PostQuit(int exitCode) {
  std::lock_guard lock(mutex_);
  quitPosted_ = true;
  quitCode_ = exitCode;
}

std::optional<std::function<void()>> ThreadQueue::TakeCall() {
  std::lock_guard lock(mutex_);
  if (calls_.empty()) return std::nullopt;
  auto call = std::move(calls_.front());
  calls_.pop_front();
  return call;
}

std::optional<MSG> ThreadQueue::TakePosted(const MessageFilter& filter, bool remove) {
  // The filter looks windows up, which takes the window table's lock; the posted messages are
  // copied out first so that no two locks are ever held together.
  std::deque<MSG> snapshot;
  {
    std::lock_guard lock(mutex_);
    if (posted_.empty()) return std::nullopt;
    snapshot = posted_;
  }
  for (std::size_t i = 0; i < snapshot.size(); ++i) {
    if (!filter.Matches(snapshot[i])) continue;
    if (remove) {
      std::lock_guard lock(mutex_);
      // Other threads only append, so the message is still at index i.
      posted_.erase(posted_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return snapshot[i];
  }
  return std::nullopt;
}

std::optional<MSG> ThreadQueue::TakeQuit(const MessageFilter& filter, bool remove) {
  std::lock_guard lock(mutex_);
  if (!quitPosted_ || !filter.MatchesMessage(WM_QUIT)) return std::nullopt;
  MSG msg{};
  msg.message = WM_QUIT;
  msg.wParam = static_cast<WPARAM>(quitCode_);
  if (remove) quitPosted_ = false;
  return msg;
}

std::optional<InputMessage> ThreadQueue::TakeInput(const MessageFilter& filter, bool remove) {
  // Input is only added by the owner thread, the one calling here.
  return TakeFirst(input_, remove, [&](const InputMessage& m) { return filter.Matches(m.msg); });
}

bool ThreadQueue::HasPending() {
  std::lock_guard lock(mutex_);
  return !posted_.empty() || !input_.empty() || !calls_.empty() || quitPosted_;
}

void ThreadQueue::RemoveMessagesOf(HWND hwnd) {
  std::lock_guard lock(mutex_);
  std::erase_if(posted_, [&](const MSG& m) { return m.hwnd == hwnd; });
  std::erase_if(input_, [&](const InputMessage& m) { return m.msg.hwnd == hwnd; });
}

void ThreadQueue::Wait(std::optional<Clock::time_point> deadline) {
  if (qt::RunsQt()) {
    {
      std::lock_guard lock(mutex_);
      if (signalled_) {
        signalled_ = false;
        return;
      }
      qtWaiting_ = true;
    }
    qt::WaitForEvents(deadline);
    std::lock_guard lock(mutex_);
    qtWaiting_ = false;
    signalled_ = false;
    return;
  }
  std::unique_lock lock(mutex_);
  auto ready = [&] { return signalled_; };
  if (deadline) {
    wakeup_.wait_until(lock, *deadline, ready);
  } else {
    wakeup_.wait(lock, ready);
  }
  signalled_ = false;
}

DWORD MessageTimeNow() { return GetTickCount(); }

}  // namespace win32::user32
