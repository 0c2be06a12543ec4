// The parsed form of the most recently used profile file, so that a run of calls on the
// same file reads and parses it once. A cached file is used only while the file on disk
// is provably the same version: same device, inode, size and times, and, while its
// modification time is too recent for that to prove anything, the same bytes.
#pragma once

#include <memory>
#include <string>

#include "platform/kernel32/profile/profile_document.h"
#include "platform/win32_types.h"

namespace win32::profile {

struct LoadedProfile {
  enum class Status { kLoaded, kMissing, kFailed };
  Status status = Status::kFailed;
  DWORD error = 0;                           // the Win32 error code unless loaded
  std::shared_ptr<const Document> document;  // set when loaded
  bool fromCache = false;                    // the version of the file this process had read already
};

// The file at `path` (a system path), from the cache when it is still current. A file
// larger than kMaxProfileBytes fails with ERROR_FILE_TOO_LARGE, and stderr says so once.
LoadedProfile LoadProfile(const std::string& path);

// Records the document that was just written to `path`.
void RememberProfile(const std::string& path, std::shared_ptr<const Document> document);

// Drops the cached file.
void ForgetProfiles();

}  // namespace win32::profile
