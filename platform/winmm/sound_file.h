// Reading the files that the program names for sounds: CP932 names, relative to the
// current directory, with '\' or '/' between folders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace win32::winmm {

// The name as the file system knows it (UTF-8, '/' separators).
std::string HostPath(std::string_view name);

// The name in UTF-8, for messages.
std::string DisplayName(std::string_view name);

enum class ReadResult { Ok, NotFound, Unreadable, TooLarge };

// What went wrong, for messages: "file not found" and the like.
std::string_view ReadProblem(ReadResult result);

// Reads the whole file into `bytes`; files larger than `limit` bytes are refused.
ReadResult ReadSoundFile(std::string_view name, std::size_t limit, std::vector<std::uint8_t>& bytes);

}  // namespace win32::winmm
