// Problems with sound (no device, no sound font, a damaged file) leave the program silent
// rather than failing it; each distinct problem is said once on stderr, so that someone
// wondering about the silence finds the reason without the log filling up.
#pragma once

#include <string>

namespace win32::winmm {

// Writes "<program>: <line>" to stderr the first time this exact line is reported.
void ReportOnce(const std::string& line);

}  // namespace win32::winmm
