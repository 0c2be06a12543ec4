#include "tests/common/step_runner.h"

#include <gtest/gtest.h>

#include <deque>

namespace test {
namespace {

struct StepRunner {
  std::deque<std::function<void()>> steps;
  UINT_PTR timer = 0;
  int idleTicks = 0;
};

StepRunner& Runner() {
  static StepRunner runner;
  return runner;
}

void CALLBACK StepTick(HWND, UINT, UINT_PTR, DWORD) {
  StepRunner& r = Runner();
  if (!r.steps.empty()) {
    auto step = std::move(r.steps.front());
    r.steps.pop_front();
    step();
    return;
  }
  if (++r.idleTicks == 100) {
    ADD_FAILURE() << "a modal loop was still running after the last step";
    if (HWND active = GetActiveWindow()) EndDialog(active, -99);
  }
}

}  // namespace

void RunSteps(std::vector<std::function<void()>> steps, UINT period) {
  StepRunner& r = Runner();
  r.steps.assign(steps.begin(), steps.end());
  r.idleTicks = 0;
  if (!r.timer) r.timer = SetTimer(nullptr, 0, period, StepTick);
}

void StopSteps() {
  StepRunner& r = Runner();
  if (r.timer) KillTimer(nullptr, r.timer);
  r.timer = 0;
  EXPECT_TRUE(r.steps.empty()) << r.steps.size() << " steps did not run";
  r.steps.clear();
}

}  // namespace test
