// File names as the A functions get them (code page 932, '\' or '/' between the parts)
// turned into the system's paths (UTF-8, '/').
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace win32 {

// Every single-byte '\' becomes '/'; a trail byte 0x5C inside a double-byte character
// stays what it is. A name without a directory stays relative, so it resolves against
// the current directory. Nothing when the name is not valid code page 932.
std::optional<std::string> ToSystemPath(std::string_view win32Path);

// The directory part of a system path: "." for a bare name, "/" for a name in the root.
std::string DirectoryOf(const std::string& path);

// The last part of a system path.
std::string FileNameOf(const std::string& path);

}  // namespace win32
