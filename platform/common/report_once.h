// Problems that the platform gets round quietly (no sound device, a damaged sound file, a
// profile file too large to read) are each said once on stderr, so that someone wondering
// about the silence or the empty table finds the reason without the log filling up.
#pragma once

#include <string>

namespace win32 {

// Writes "<program>: <line>" to stderr the first time this exact line is reported.
void ReportOnce(const std::string& line);

// Writes "<program>: <line>" to stderr, for a change of state that is said each time it
// happens (the sound lost, the sound back).
void Report(const std::string& line);

}  // namespace win32
