// A process-wide object that is built on first use and never destroyed.
//
// The game's global objects are constructed before main() and destroyed after it, and
// their constructors and destructors call the platform. The platform's own singletons must
// therefore exist whenever they are first asked for and outlive every static destructor;
// an Immortal<T> is constructed in place on first use and its destructor never runs.
#pragma once

#include <new>
#include <utility>

namespace win32 {

template <typename T>
class Immortal {
 public:
  template <typename... Args>
  explicit Immortal(Args&&... args) {
    new (storage_) T(std::forward<Args>(args)...);
  }
  Immortal(const Immortal&) = delete;
  Immortal& operator=(const Immortal&) = delete;

  T& get() { return *std::launder(reinterpret_cast<T*>(storage_)); }
  T* operator->() { return &get(); }
  T& operator*() { return get(); }

 private:
  alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace win32
