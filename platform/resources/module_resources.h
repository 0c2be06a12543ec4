// The program's own resources: the .res file that the build compiles from the resource
// script and embeds in the program, looked up the way Windows' loader does.
#pragma once

#include <cstddef>
#include <span>

#include "platform/win32_types.h"

namespace win32::res {

// The data of the resource with this type and name (each an integer id made with
// MAKEINTRESOURCE or a string, compared case-insensitively), in the Japanese language if
// there is one, else neutral, else the first. Empty when there is no such resource, when
// the program carries no resources, or when the embedded file is damaged.
std::span<const std::byte> Find(LPCSTR type, LPCSTR name);

// The whole embedded .res file, as the build embedded it; empty when there is none.
std::span<const std::byte> EmbeddedFile();

}  // namespace win32::res
