// The program's own resources: the .res file that the build compiles from the resource
// script and embeds in the program, looked up the way Windows' loader does.
#pragma once

#include <cstddef>
#include <span>

#include "platform/kernel32/kernel32.h"
#include "platform/win32_types.h"

namespace win32::res {

// The data of the resource with this type and name (each an integer id made with
// MAKEINTRESOURCE or a string, compared case-insensitively), in the Japanese language if
// there is one, else neutral, else the first. Empty when there is no such resource, when
// the program carries no resources, or when the embedded file is damaged.
std::span<const std::byte> Find(LPCSTR type, LPCSTR name);

// The resource with this type and name, decoded by `decode` (one of resource_formats.h's
// decoders). Nothing when there is no such resource, with ERROR_RESOURCE_NAME_NOT_FOUND, or
// when its data does not decode, with ERROR_RESOURCE_DATA_NOT_FOUND.
template <typename Decode>
auto FindDecoded(LPCSTR type, LPCSTR name, Decode decode) -> decltype(decode(std::span<const std::byte>{})) {
  std::span<const std::byte> data = Find(type, name);
  if (data.empty()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return {};
  }
  auto decoded = decode(data);
  if (!decoded) SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return decoded;
}

// The whole embedded .res file, as the build embedded it; empty when there is none.
std::span<const std::byte> EmbeddedFile();

}  // namespace win32::res
