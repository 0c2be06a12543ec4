#include <sched.h>
#include <time.h>

#include <cerrno>

#include "platform/kernel32/kernel32.h"

void WINAPI Sleep(DWORD dwMilliseconds) {
  if (dwMilliseconds == 0) {
    sched_yield();
    return;
  }
  if (dwMilliseconds == INFINITE) {
    for (;;) {
      timespec day{86400, 0};
      nanosleep(&day, nullptr);
    }
  }
  timespec left{static_cast<time_t>(dwMilliseconds / 1000), static_cast<long>(dwMilliseconds % 1000) * 1000000L};
  // A signal handler may interrupt the sleep; Win32's Sleep still lasts the whole time.
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}
