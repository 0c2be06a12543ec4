// Steps of a test that run inside a modal loop: a dialog's, a message box's, or any other
// that the code under test enters. Plain Win32, for both implementations of it.
#pragma once

#include <functional>
#include <vector>

#include "platform/win32.h"

namespace test {

// Runs the steps one per tick of a thread timer, inside whatever message loop runs then
// (a modal dialog's, a message box's). When a modal loop is still running well after the
// last step, its dialog is ended with -99 and the test fails, rather than hanging.
void RunSteps(std::vector<std::function<void()>> steps, UINT period = 20);
// Stops the steps (call when the modal call has returned).
void StopSteps();

}  // namespace test
