// Creating, selecting into and deleting device contexts.
#include "platform/gdi32/handle_table.h"

namespace win32::gdi {
namespace {

void Retain(HGDIOBJ handle) {
  if (HandleTable::Slot* slot = Objects().FindSlot(handle)) ++slot->selections;
}

void Release(HGDIOBJ handle) {
  if (HandleTable::Slot* slot = Objects().FindSlot(handle); slot && slot->selections > 0) --slot->selections;
}

// A DC with GDI's defaults: white brush, black pen, the system font; memory DCs hold the
// stock 1x1 monochrome bitmap.
HDC NewDC(DcKind kind, std::shared_ptr<PixelBuffer> buffer) {
  HandleTable& table = Objects();
  DeviceContext dc;
  dc.kind = kind;
  dc.buffer = std::move(buffer);
  dc.brush = static_cast<HBRUSH>(table.Stock(WHITE_BRUSH));
  dc.pen = static_cast<HPEN>(table.Stock(BLACK_PEN));
  dc.font = static_cast<HFONT>(table.Stock(SYSTEM_FONT));
  if (kind == DcKind::Memory) dc.bitmap = table.DefaultBitmap();
  HDC hdc = static_cast<HDC>(table.Insert(std::move(dc)));
  if (!hdc) return nullptr;
  DeviceContext* created = FindDC(hdc);
  Retain(created->brush);
  Retain(created->pen);
  Retain(created->font);
  Retain(created->bitmap);
  return hdc;
}

void DestroyDC(HDC hdc, DeviceContext& dc) {
  if (Bitmap* bitmap = FindBitmap(dc.bitmap); bitmap && bitmap->selectedInto == hdc) bitmap->selectedInto = nullptr;
  Release(dc.bitmap);
  Release(dc.brush);
  Release(dc.pen);
  Release(dc.font);
  Objects().Erase(hdc);
}

// Puts `object` in `slot` of the DC and returns what was there.
template <typename Handle>
HGDIOBJ Swap(Handle& slot, HGDIOBJ object) {
  Handle previous = slot;
  Retain(object);
  Release(previous);
  slot = static_cast<Handle>(object);
  return previous;
}

HGDIOBJ SelectBitmap(HDC hdc, DeviceContext& dc, HBITMAP handle, Bitmap& bitmap, bool stock) {
  if (dc.kind != DcKind::Memory) return nullptr;
  if (dc.bitmap == handle) return handle;
  // Like Windows, a bitmap can be in one DC at a time (the stock bitmap excepted).
  if (!stock && bitmap.selectedInto && bitmap.selectedInto != hdc) return nullptr;
  if (Bitmap* previous = FindBitmap(dc.bitmap); previous && previous->selectedInto == hdc)
    previous->selectedInto = nullptr;
  if (!stock) bitmap.selectedInto = hdc;
  return Swap(dc.bitmap, handle);
}

}  // namespace

HDC CreateBufferDC(std::shared_ptr<PixelBuffer> buffer) {
  if (!buffer) return nullptr;
  return NewDC(DcKind::Window, std::move(buffer));
}

HDC CreateScreenDC() { return NewDC(DcKind::Screen, nullptr); }

BOOL ReleaseBufferDC(HDC hdc) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || dc->kind == DcKind::Memory) return FALSE;
  DestroyDC(hdc, *dc);
  return TRUE;
}

std::size_t LiveObjectCount() { return Objects().LiveCount(); }

}  // namespace win32::gdi

using namespace win32::gdi;

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc && !FindDC(hdc)) return nullptr;
  return NewDC(DcKind::Memory, nullptr);
}

BOOL WINAPI DeleteDC(HDC hdc) {
  DeviceContext* dc = FindDC(hdc);
  // DCs from GetDC and BeginPaint go back through ReleaseDC and EndPaint.
  if (!dc || dc->kind != DcKind::Memory) return FALSE;
  DestroyDC(hdc, *dc);
  return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  DeviceContext* dc = FindDC(hdc);
  HandleTable::Slot* slot = Objects().FindSlot(h);
  if (!dc || !slot) return nullptr;
  GdiObject& object = *slot->object;
  if (auto* bitmap = std::get_if<Bitmap>(&object))
    return SelectBitmap(hdc, *dc, static_cast<HBITMAP>(h), *bitmap, slot->stock);
  if (std::holds_alternative<Brush>(object)) return Swap(dc->brush, h);
  if (std::holds_alternative<Pen>(object)) return Swap(dc->pen, h);
  if (std::holds_alternative<Font>(object)) return Swap(dc->font, h);
  return nullptr;  // DCs cannot be selected; palettes go through SelectPalette
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_BITMAP:
      return dc->bitmap;
    case OBJ_BRUSH:
      return dc->brush;
    case OBJ_PEN:
      return dc->pen;
    case OBJ_FONT:
      return dc->font;
    case OBJ_PAL:
      return Objects().Stock(DEFAULT_PALETTE);
    default:
      return nullptr;
  }
}
