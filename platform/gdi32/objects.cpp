// Handle-level functions that apply to every kind of GDI object.
#include <algorithm>
#include <cstring>

#include "platform/gdi32/handle_table.h"

using namespace win32::gdi;

namespace {

// GetObject's copy-out: the object's record, or as much of it as the buffer holds.
template <typename Record>
int CopyOut(const Record& record, int c, LPVOID pv) {
  if (!pv) return sizeof(Record);
  if (c <= 0) return 0;
  int n = std::min<int>(c, sizeof(Record));
  std::memcpy(pv, &record, n);
  return n;
}

// Windows' monochrome bitmaps keep rows of whole 16-bit words.
LONG WidthBytes(const Bitmap& b) { return b.mono ? (b.width + 15) / 16 * 2 : b.width * 4; }

}  // namespace

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  HandleTable::Slot* slot = Objects().FindSlot(ho);
  if (!slot) return FALSE;
  // Deleting a stock object does no harm and nothing happens.
  if (slot->stock) return TRUE;
  if (std::holds_alternative<DeviceContext>(*slot->object)) return FALSE;
  // An object still selected into a DC stays; the DC would otherwise draw with a dead one.
  if (slot->selections > 0) return FALSE;
  Objects().Erase(ho);
  return TRUE;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
  HandleTable::Slot* slot = Objects().FindSlot(h);
  if (!slot) return 0;
  GdiObject& object = *slot->object;
  if (auto* b = std::get_if<Bitmap>(&object)) {
    BITMAP bm{0, b->width, b->height, WidthBytes(*b), 1, static_cast<WORD>(b->mono ? 1 : 32), nullptr};
    return CopyOut(bm, c, pv);
  }
  if (auto* brush = std::get_if<Brush>(&object)) return CopyOut(brush->logbrush, c, pv);
  if (auto* pen = std::get_if<Pen>(&object)) return CopyOut(pen->logpen, c, pv);
  if (auto* font = std::get_if<Font>(&object)) return CopyOut(font->logfont, c, pv);
  if (std::holds_alternative<Palette>(object)) return CopyOut(WORD{20}, c, pv);  // the 20 static colours
  return 0;
}

DWORD WINAPI GetObjectType(HGDIOBJ h) {
  HandleTable::Slot* slot = Objects().FindSlot(h);
  if (!slot) return 0;
  GdiObject& object = *slot->object;
  if (auto* dc = std::get_if<DeviceContext>(&object)) return dc->kind == DcKind::Memory ? OBJ_MEMDC : OBJ_DC;
  if (std::holds_alternative<Bitmap>(object)) return OBJ_BITMAP;
  if (std::holds_alternative<Brush>(object)) return OBJ_BRUSH;
  if (std::holds_alternative<Pen>(object)) return OBJ_PEN;
  if (std::holds_alternative<Font>(object)) return OBJ_FONT;
  if (std::holds_alternative<Palette>(object)) return OBJ_PAL;
  return 0;
}

HGDIOBJ WINAPI GetStockObject(int i) { return Objects().Stock(i); }
