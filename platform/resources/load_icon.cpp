// LoadIconA and DestroyIcon. Icons loaded from resources are shared, as on Windows: loading
// the same icon again gives the same handle, and the icon lives as long as the program.
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "platform/common/handle_map.h"
#include "platform/common/immortal.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"
#include "platform/resources/system_icons.h"

namespace win32::res {
namespace {

class IconTable {
 public:
  // The handle of the icon known by `key`, made with `make` the first time; null when `make`
  // gives no images.
  template <typename Make>
  HICON Get(const void* key, Make make) {
    std::lock_guard lock(mutex_);
    if (auto it = byKey_.find(key); it != byKey_.end()) return it->second;
    std::vector<IconImage> images = make();
    if (images.empty()) return nullptr;
    // Largest first; images of equal size keep the order they came in.
    std::stable_sort(images.begin(), images.end(), [](const IconImage& a, const IconImage& b) {
      return a.width * a.height > b.width * b.height;
    });
    HICON handle = icons_.Add(std::make_unique<std::vector<IconImage>>(std::move(images)));
    byKey_.emplace(key, handle);
    return handle;
  }

  const std::vector<IconImage>* Images(HICON icon) { return icons_.Find(icon); }

 private:
  std::mutex mutex_;  // held while an icon is made, so that it is made once
  std::map<const void*, HICON> byKey_;
  HandleMap<HICON, std::vector<IconImage>> icons_{0x70010, 2};  // never removed
};

IconTable& Icons() {
  static Immortal<IconTable> table;
  return *table;
}

// The decodable images of an icon group, in the group's order; PNG images are skipped.
std::vector<IconImage> GroupImages(Bytes group) {
  std::vector<IconImage> images;
  std::optional<std::vector<IconDirEntry>> entries = DecodeIconGroup(group);
  if (!entries) return images;
  for (const IconDirEntry& e : *entries)
    if (std::optional<IconImage> image = DecodeIconImage(Find(RT_ICON, MAKEINTRESOURCEA(e.id))))
      images.push_back(std::move(*image));
  return images;
}

// A key for the system's application icon that no resource's data can share.
const char kApplicationIconKey = 0;

}  // namespace

const std::vector<IconImage>* IconImages(HICON icon) { return Icons().Images(icon); }

}  // namespace win32::res

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
  using namespace win32::res;
  if (lpIconName == nullptr) return nullptr;
  if (hInstance == nullptr) {
    // Without a module only the system's icons are there.
    if (lpIconName != IDI_APPLICATION) return nullptr;
    return Icons().Get(&kApplicationIconKey, ApplicationIconImages);
  }
  Bytes group = Find(RT_GROUP_ICON, lpIconName);
  if (group.empty()) return nullptr;
  // The same resource always gives the same shared icon.
  return Icons().Get(group.data(), [group] { return GroupImages(group); });
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
  // Every icon here is shared, and a shared icon stays valid for the program's lifetime; only
  // the handle is checked.
  return win32::res::IconImages(hIcon) != nullptr;
}
