// GetPrivateProfileIntA, GetPrivateProfileStringA and WritePrivateProfileStringA.
#include <cstring>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/immortal.h"
#include "platform/kernel32/files/system_path.h"
#include "platform/kernel32/kernel32.h"
#include "platform/kernel32/profile/profile_cache.h"
#include "platform/kernel32/profile/profile_edit.h"
#include "platform/kernel32/profile/profile_file.h"
#include "platform/kernel32/profile/profile_temporaries.h"
#include "platform/kernel32/profile/profile_text.h"

namespace {

using win32::profile::DirectoryLock;
using win32::profile::Document;
using win32::profile::Entry;
using win32::profile::LoadedProfile;
using win32::profile::PlanDeleteKey;
using win32::profile::PlanDeleteSection;
using win32::profile::PlanSetValue;
using win32::profile::Section;
using win32::profile::Splice;

// One call at a time: a write reads, changes and replaces the file, and no other call of
// this process may slip in between.
std::mutex& ProfileMutex() {
  static win32::Immortal<std::mutex> mutex;
  return *mutex;
}

// The system path of the caller's file name, or nothing (ERROR_INVALID_NAME) when the name
// is not code page 932.
std::optional<std::string> SystemPath(LPCSTR lpFileName) {
  std::optional<std::string> path = win32::ToSystemPath(lpFileName);
  if (!path) SetLastError(ERROR_INVALID_NAME);
  return path;
}

// The file named by the caller, or nothing (with the reason in the last error) when there
// is none to read.
std::shared_ptr<const Document> LoadForReading(LPCSTR lpFileName) {
  if (lpFileName == nullptr || *lpFileName == '\0') {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  std::optional<std::string> path = SystemPath(lpFileName);
  if (!path) return nullptr;
  LoadedProfile loaded = win32::profile::LoadProfile(*path);
  if (loaded.status != LoadedProfile::Status::kLoaded) SetLastError(loaded.error);
  if (!loaded.fromCache) {
    // A program starts by reading, so the temporaries of writers that were killed go here
    // too, not only at the next write; while another process is writing they stay for later.
    const std::string directory = win32::DirectoryOf(win32::profile::ResolveTarget(*path));
    DirectoryLock lock(directory, DirectoryLock::Wait::kNo);
    if (lock.state() == DirectoryLock::State::kHeld) win32::profile::RemoveStaleTemporaries(directory);
  }
  return loaded.document;
}

// Copies `text` into a buffer of `size` bytes (size > 0), cut to size - 1 bytes.
DWORD CopyString(std::string_view text, LPSTR buffer, DWORD size) {
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  if (n < text.size()) SetLastError(ERROR_MORE_DATA);
  return static_cast<DWORD>(n);
}

// Copies names as a list: each followed by a NUL, and one more NUL at the end. A list cut
// short ends with two NULs, and the count is then size - 2. Empty names would end the list
// early and are left out.
template <typename Names>
DWORD CopyList(const Names& names, LPSTR buffer, DWORD size) {
  std::string list;
  for (std::string_view name : names) {
    if (name.empty()) continue;
    list.append(name);
    list.push_back('\0');
  }
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  SetLastError(ERROR_MORE_DATA);
  return size - 2;
}

std::vector<std::string_view> SectionNames(const Document* doc) {
  std::vector<std::string_view> names;
  if (doc)
    for (const Section& s : doc->Sections()) names.push_back(doc->View(s.name));
  return names;
}

std::vector<std::string_view> KeyNames(const Document& doc, const Section& section) {
  std::vector<std::string_view> names;
  for (const Entry& e : doc.EntriesOf(section))
    if (e.hasValue) names.push_back(doc.View(e.name));  // a bare line is no key
  return names;
}

// The entry of a key that has a value, or null.
const Entry* FindValue(const Document* doc, std::string_view section, std::string_view key) {
  if (doc == nullptr || key.empty()) return nullptr;  // the A functions never find an empty key
  const Section* s = doc->FindSection(section);
  if (s == nullptr) return nullptr;
  const Entry* e = doc->FindEntry(*s, key);
  return (e != nullptr && e->hasValue) ? e : nullptr;
}

DWORD GetString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR buffer, DWORD size, LPCSTR lpFileName) {
  std::string_view fallback = win32::profile::TrimTrailingSpaces(lpDefault ? lpDefault : "");
  std::shared_ptr<const Document> doc = LoadForReading(lpFileName);
  if (lpAppName == nullptr) return CopyList(SectionNames(doc.get()), buffer, size);
  std::string_view section = win32::profile::TrimArgument(lpAppName);
  if (lpKeyName == nullptr) {
    const Section* s = doc ? doc->FindSection(section) : nullptr;
    if (s == nullptr) return CopyString(fallback, buffer, size);
    SetLastError(ERROR_SUCCESS);
    return CopyList(KeyNames(*doc, *s), buffer, size);
  }
  const Entry* entry = FindValue(doc.get(), section, win32::profile::TrimArgument(lpKeyName));
  if (entry == nullptr) return CopyString(fallback, buffer, size);
  SetLastError(ERROR_SUCCESS);
  return CopyString(doc->View(entry->value), buffer, size);
}

BOOL WriteString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName) {
  if (lpFileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (*lpFileName == '\0') {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (lpAppName == nullptr) {
    if (lpKeyName == nullptr && lpString == nullptr) {
      // The documented way to flush the cache; Windows reports it as 0.
      win32::profile::ForgetProfiles();
      return FALSE;
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  std::optional<std::string> path = SystemPath(lpFileName);
  if (!path) return FALSE;
  const std::string_view section = win32::profile::TrimArgument(lpAppName);
  const std::string_view key = lpKeyName ? win32::profile::TrimArgument(lpKeyName) : std::string_view();
  if (lpKeyName != nullptr && lpString != nullptr && key.empty()) {
    // An empty key could never be read back through the A functions.
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }

  // From reading the file to replacing it, no other process writes a file of its directory.
  const std::string target = win32::profile::ResolveTarget(*path);
  const std::string directory = win32::DirectoryOf(target);
  DirectoryLock lock(directory, DirectoryLock::Wait::kBriefly);
  if (lock.state() == DirectoryLock::State::kBusy) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }
  if (lock.state() == DirectoryLock::State::kHeld) win32::profile::RemoveStaleTemporaries(directory);

  LoadedProfile loaded = win32::profile::LoadProfile(*path);
  if (loaded.status == LoadedProfile::Status::kFailed) {
    // The file is there but cannot be read; writing would lose what it holds.
    SetLastError(loaded.error);
    return FALSE;
  }
  const Document empty;
  const Document& doc = loaded.document ? *loaded.document : empty;
  const std::vector<Splice> splices = lpKeyName == nullptr  ? PlanDeleteSection(doc, section)
                                      : lpString == nullptr ? PlanDeleteKey(doc, section, key)
                                                            : PlanSetValue(doc, section, key, lpString);
  if (splices.empty()) return TRUE;  // the file already says so

  std::string bytes = doc.Apply(splices);
  DWORD error = win32::profile::ReplaceFileAtomically(target, bytes);
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return FALSE;
  }
  win32::profile::RememberProfile(*path, std::make_shared<const Document>(Document::Parse(std::move(bytes))));
  return TRUE;
}

}  // namespace

DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                                      DWORD nSize, LPCSTR lpFileName) {
  if (lpReturnedString == nullptr || nSize == 0) return 0;
  std::lock_guard lock(ProfileMutex());
  try {
    return GetString(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, lpFileName);
  } catch (const std::exception&) {  // out of memory
    lpReturnedString[0] = '\0';
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
}

UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName) {
  if (lpAppName == nullptr || lpKeyName == nullptr) return static_cast<UINT>(nDefault);
  std::lock_guard lock(ProfileMutex());
  try {
    std::shared_ptr<const Document> doc = LoadForReading(lpFileName);
    const Entry* entry =
        FindValue(doc.get(), win32::profile::TrimArgument(lpAppName), win32::profile::TrimArgument(lpKeyName));
    // An empty value counts as missing; any other value is read as far as it is a number.
    if (entry == nullptr || entry->value.begin == entry->value.end) return static_cast<UINT>(nDefault);
    return win32::profile::ParseProfileInt(doc->View(entry->value));
  } catch (const std::exception&) {  // out of memory
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return static_cast<UINT>(nDefault);
  }
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName) {
  std::lock_guard lock(ProfileMutex());
  try {
    return WriteString(lpAppName, lpKeyName, lpString, lpFileName);
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  } catch (const std::length_error&) {
    SetLastError(ERROR_FILE_TOO_LARGE);
    return FALSE;
  } catch (const std::exception&) {
    SetLastError(ERROR_WRITE_FAULT);
    return FALSE;
  }
}
