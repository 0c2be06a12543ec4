// Game controllers as a keyboard: the D-pad and the left stick are the arrow keys, A and
// Start are Space (Enter in a dialog), B is Esc in a dialog. The pads are read where the
// message queue is read, on the thread that runs Qt, and their keys arrive as the
// keyboard's do. Without SDL's game-controller subsystem nothing here does anything.
#pragma once

#include <chrono>
#include <optional>

namespace win32::user32::gamepad {

// Reads the pads and delivers what changed.
void Poll();

// When Poll should run again at the latest: soon while a pad is plugged in, now and then
// without one (to notice one being plugged in), never without the subsystem.
std::optional<std::chrono::steady_clock::time_point> NextPoll();

// Closes the pads and SDL's subsystem, before Qt goes away; they are not opened again.
void Shutdown();

}  // namespace win32::user32::gamepad
