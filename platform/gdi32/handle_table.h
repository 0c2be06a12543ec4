// The table of every GDI object. A handle names a slot and the slot's generation; deleting
// an object bumps the generation, so a stale handle never reaches the slot's next object.
//
// The table is an Immortal: the game's global objects delete their bitmaps and DCs from
// static destructors after main() has returned, and the table must still be there.
// GDI objects are used from the thread that runs the message loop.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/common/immortal.h"
#include "platform/gdi32/gdi_objects.h"

namespace win32::gdi {

class HandleTable {
 public:
  struct Slot {
    std::uint32_t generation = 1;
    bool stock = false;
    int selections = 0;  // how many DCs hold the object selected
    std::unique_ptr<GdiObject> object;
  };

  HandleTable();

  // Adds an object and returns its new handle.
  HGDIOBJ Insert(GdiObject object);
  // The live slot a handle names, or null for null, stale, forged or deleted handles.
  // Every GDI call starts here, so it is inline.
  Slot* FindSlot(HGDIOBJ handle) {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    const std::uintptr_t indexPlusOne = value & kIndexMask;
    if (indexPlusOne == 0 || indexPlusOne > slots_.size()) return nullptr;
    Slot& slot = slots_[indexPlusOne - 1];
    if (!slot.object || (value >> kIndexBits) != slot.generation) return nullptr;
    return &slot;
  }
  template <typename T>
  T* Find(HGDIOBJ handle) {
    Slot* slot = FindSlot(handle);
    return slot ? std::get_if<T>(slot->object.get()) : nullptr;
  }
  // Removes a (non-stock) object; its handle goes stale.
  void Erase(HGDIOBJ handle);

  // Objects alive, stock objects excluded.
  std::size_t LiveCount() const { return live_; }

  // GetStockObject's objects (null for an index that names none), and the 1x1 monochrome
  // bitmap that a new memory DC holds.
  HGDIOBJ Stock(int index) const;
  HBITMAP DefaultBitmap() const { return defaultBitmap_; }

 private:
  // A handle is (generation << kIndexBits) | (slot index + 1): never null, and a slot's next
  // object gets a new generation and so a different handle.
  static constexpr int kIndexBits = 20;
  static constexpr std::uintptr_t kIndexMask = (std::uintptr_t{1} << kIndexBits) - 1;

  HGDIOBJ InsertStock(GdiObject object);

  std::vector<Slot> slots_;
  std::vector<std::uint32_t> free_;
  std::size_t live_ = 0;
  std::array<HGDIOBJ, DEFAULT_GUI_FONT + 1> stock_{};
  HBITMAP defaultBitmap_ = nullptr;
};

inline HandleTable& Objects() {
  static Immortal<HandleTable> table;
  return *table;
}

// The objects behind typed handles.
inline DeviceContext* FindDC(HDC hdc) { return Objects().Find<DeviceContext>(hdc); }
inline Bitmap* FindBitmap(HBITMAP h) { return Objects().Find<Bitmap>(h); }
inline Brush* FindBrush(HBRUSH h) { return Objects().Find<Brush>(h); }
inline Font* FindFont(HFONT h) { return Objects().Find<Font>(h); }

// The pixels a DC draws on: its bitmap, its window's buffer, or nothing for the screen.
// Every blit asks for two, so a memory DC's are found inline.
PixelView BufferViewOf(const DeviceContext& dc);
inline PixelView ViewOf(const DeviceContext& dc) {
  if (dc.kind != DcKind::Memory) return BufferViewOf(dc);
  Bitmap* bitmap = FindBitmap(dc.bitmap);
  return bitmap ? bitmap->View() : PixelView{};
}

// Whether the bitmaps made for a DC (CreateCompatibleBitmap, CreateDIBitmap) are monochrome:
// a memory DC gives the format of the bitmap it holds, monochrome while it still has its
// initial one; window and screen DCs give colour bitmaps.
inline bool MakesMonoBitmaps(const DeviceContext& dc) { return dc.kind == DcKind::Memory && ViewOf(dc).mono; }

}  // namespace win32::gdi
