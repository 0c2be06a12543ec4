#include <time.h>

#include <atomic>
#include <mutex>

#include "platform/common/immortal.h"
#include "platform/kernel32/kernel32.h"
#include "platform/kernel32/tick_count_override.h"

namespace {

struct Override {
  std::mutex mutex;
  std::function<DWORD()> clock;
  std::atomic<bool> active{false};
};

Override& TheOverride() {
  static win32::Immortal<Override> instance;
  return *instance;
}

}  // namespace

namespace win32::testing {

void SetTickCountOverride(std::function<DWORD()> clock) {
  Override& o = TheOverride();
  std::lock_guard lock(o.mutex);
  o.clock = std::move(clock);
  o.active = static_cast<bool>(o.clock);
}

void ClearTickCountOverride() { SetTickCountOverride(nullptr); }

}  // namespace win32::testing

DWORD WINAPI GetTickCount(void) {
  Override& o = TheOverride();
  if (o.active) {
    std::lock_guard lock(o.mutex);
    if (o.clock) return o.clock();
  }
  // CLOCK_BOOTTIME keeps counting while the machine sleeps, as Windows' tick count does.
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<DWORD>(ms);  // the low 32 bits: the count wraps, as on Windows
}
