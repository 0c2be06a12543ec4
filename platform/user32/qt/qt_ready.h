// Whether windows can be made: the Qt application exists (it is created on first use) and
// the calling thread is its thread. When there is no display, says why once on stderr.
#pragma once

namespace win32::user32 {

bool QtReady();

}  // namespace win32::user32
