// The guard that gives the desktop its display mode back when the program dies switched:
// this program's own executable started again as a small separate process, which waits on
// a socket to this one. The socket closes whenever this process ends, however it ends
// (exit, signal, SIGKILL, crash); the guard then restores the saved configuration unless
// this process said last that the screen was back. It is in a session of its own, so a
// Ctrl+C or hang-up for the program's terminal does not reach it.
#pragma once

#include <memory>
#include <string>

#include "platform/user32/display/display_backend.h"

namespace win32::display {

// The guard's name in the process list; its one argument is the program's process id.
inline constexpr char kGuardProcessName[] = "porongo-display-guard";

// Starts a guard holding `snapshot` of an XRandR screen, armed. Null, after
// one line on stderr, when it cannot be started.
std::unique_ptr<RestoreGuard> LaunchRestoreGuard(const std::string& snapshot);

}  // namespace win32::display
