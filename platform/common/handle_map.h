// The objects behind a kind of USER handle (windows, menus, accelerator tables, icons).
//
// Each kind has a range of its own: handles count up from a first value by a fixed step and
// are never given out twice, so a stale handle, or a handle of another kind, finds nothing
// instead of reaching some other object. The map is safe to use from any thread; an object
// it hands out stays where it is until its handle is removed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <vector>

namespace win32 {

template <typename Handle, typename Object>
class HandleMap {
 public:
  HandleMap(std::uintptr_t first, std::uintptr_t step) : next_(first), step_(step) {}
  HandleMap(const HandleMap&) = delete;
  HandleMap& operator=(const HandleMap&) = delete;

  // Takes the object and returns its new handle.
  Handle Add(std::unique_ptr<Object> object) {
    std::lock_guard lock(mutex_);
    std::uintptr_t key = next_;
    next_ += step_;
    objects_.emplace(key, std::move(object));
    return reinterpret_cast<Handle>(key);
  }

  // The object of the handle; null for a null, unknown or removed handle.
  Object* Find(Handle handle) {
    std::lock_guard lock(mutex_);
    auto it = objects_.find(Key(handle));
    return it == objects_.end() ? nullptr : it->second.get();
  }

  // What `read` gives for the handle's object, read while no other thread can remove it;
  // nothing for an unknown handle.
  template <typename Reader>
  auto Read(Handle handle, Reader read) -> std::optional<std::invoke_result_t<Reader, Object&>> {
    std::lock_guard lock(mutex_);
    auto it = objects_.find(Key(handle));
    if (it == objects_.end()) return std::nullopt;
    return read(*it->second);
  }

  // Removes the handle's object; false for an unknown handle. The object is destroyed after
  // the map is unlocked, so its destructor may use the map (or anything that does).
  bool Remove(Handle handle) {
    typename Objects::node_type doomed;
    {
      std::lock_guard lock(mutex_);
      doomed = objects_.extract(Key(handle));
    }
    return !doomed.empty();
  }

  // Every handle, oldest first.
  std::vector<Handle> Handles() {
    std::lock_guard lock(mutex_);
    std::vector<Handle> handles;
    handles.reserve(objects_.size());
    for (const auto& entry : objects_) handles.push_back(reinterpret_cast<Handle>(entry.first));
    return handles;
  }

 private:
  // Ordered by handle, and handles only grow: iteration is the order of creation.
  using Objects = std::map<std::uintptr_t, std::unique_ptr<Object>>;

  static std::uintptr_t Key(Handle handle) { return reinterpret_cast<std::uintptr_t>(handle); }

  std::mutex mutex_;
  Objects objects_;
  std::uintptr_t next_;
  const std::uintptr_t step_;
};

}  // namespace win32
