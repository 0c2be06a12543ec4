// The changes WritePrivateProfileStringA makes to a profile file, as splices of whole lines.
// Each planner returns no splices when the file already says what was asked.
#pragma once

#include <string_view>
#include <vector>

#include "platform/kernel32/profile/profile_document.h"

namespace win32::profile {

// Sets `key=value` in the first section called `section`: an existing entry is rewritten
// where it stands (keeping its name's case and its line end) unless it already reads as
// `value`, in which case it is left exactly as it is; a new key goes after the
// section's last entry, and a new section goes at the end of the file. New lines end in
// CRLF; a last line without a line end gets one before anything is added after it.
std::vector<Splice> PlanSetValue(const Document& doc, std::string_view section, std::string_view key,
                                 std::string_view value);

// Removes every entry called `key` from the first section called `section`, so that the
// key reads as missing afterwards.
std::vector<Splice> PlanDeleteKey(const Document& doc, std::string_view section, std::string_view key);

// Removes every section called `section`: its header and its lines, except comments.
std::vector<Splice> PlanDeleteSection(const Document& doc, std::string_view section);

}  // namespace win32::profile
