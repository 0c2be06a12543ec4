#include "platform/kernel32/profile/profile_cache.h"

#include <sys/stat.h>

#include <mutex>

#include "platform/common/immortal.h"
#include "platform/common/report_once.h"
#include "platform/kernel32/kernel32.h"
#include "platform/kernel32/profile/profile_file.h"

namespace win32::profile {
namespace {

struct Cache {
  std::mutex mutex;
  std::string path;
  FileStamp stamp;
  bool verifiedByStamp = false;  // false: compare the bytes before trusting the stamp
  std::shared_ptr<const Document> document;
};

Cache& TheCache() {
  static Immortal<Cache> cache;
  return *cache;
}

LoadedProfile ReadFailed(const std::string& path, const InputFile& file) {
  if (file.error() == ERROR_FILE_TOO_LARGE)
    ReportOnce(path + " is larger than " + std::to_string(kMaxProfileBytes >> 20) +
               " MB, too large for a profile file: it reads as empty and is never overwritten");
  return {LoadedProfile::Status::kFailed, file.error(), nullptr};
}

}  // namespace

LoadedProfile LoadProfile(const std::string& path) {
  InputFile file(path);
  if (file.status() != InputFile::Status::kOpen)
    return {
        file.status() == InputFile::Status::kMissing ? LoadedProfile::Status::kMissing : LoadedProfile::Status::kFailed,
        file.error(), nullptr};

  Cache& cache = TheCache();
  std::string bytes;
  bool bytesRead = false;
  {
    std::lock_guard lock(cache.mutex);
    if (cache.document && cache.path == path && cache.stamp == file.stamp()) {
      if (cache.verifiedByStamp) return {LoadedProfile::Status::kLoaded, 0, cache.document, true};
      if (!file.ReadAll(bytes)) return ReadFailed(path, file);
      bytesRead = true;
      if (bytes == cache.document->Raw()) {
        cache.verifiedByStamp = !file.stamp().IsRecent();
        return {LoadedProfile::Status::kLoaded, 0, cache.document, true};
      }
    }
  }
  if (!bytesRead && !file.ReadAll(bytes)) return ReadFailed(path, file);
  auto document = std::make_shared<const Document>(Document::Parse(std::move(bytes)));
  if (file.Unchanged()) {
    std::lock_guard lock(cache.mutex);
    cache.path = path;
    cache.stamp = file.stamp();
    cache.verifiedByStamp = !file.stamp().IsRecent();
    cache.document = document;
  }
  return {LoadedProfile::Status::kLoaded, 0, document};
}

void RememberProfile(const std::string& path, std::shared_ptr<const Document> document) {
  struct stat st {};
  Cache& cache = TheCache();
  std::lock_guard lock(cache.mutex);
  if (stat(path.c_str(), &st) != 0) {
    cache.document.reset();
    return;
  }
  cache.path = path;
  cache.stamp = FileStamp::Of(st);
  // Just written, so recent: the next read compares bytes, which also guards against a
  // writer that replaced the file between our rename and the stat above.
  cache.verifiedByStamp = false;
  cache.document = std::move(document);
}

void ForgetProfiles() {
  Cache& cache = TheCache();
  std::lock_guard lock(cache.mutex);
  cache.document.reset();
  cache.path.clear();
}

}  // namespace win32::profile
