#include "platform/gdi32/handle_table.h"

#include <cstring>

namespace win32::gdi {
namespace {

static_assert(sizeof(std::uintptr_t) >= 8, "handles carry a 32-bit generation above the slot index");

Brush StockBrush(UINT style, COLORREF color) { return Brush{LOGBRUSH{style, color, 0}}; }

Pen StockPen(UINT style, COLORREF color) { return Pen{LOGPEN{style, POINT{1, 0}, color}}; }

Font StockFont(LONG height, BYTE pitchAndFamily, const char* face) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfPitchAndFamily = pitchAndFamily;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return Font{lf, RequestFromLogFont(lf)};
}

}  // namespace

HandleTable::HandleTable() {
  stock_[WHITE_BRUSH] = InsertStock(StockBrush(BS_SOLID, 0xFFFFFF));
  stock_[LTGRAY_BRUSH] = InsertStock(StockBrush(BS_SOLID, 0xC0C0C0));
  stock_[GRAY_BRUSH] = InsertStock(StockBrush(BS_SOLID, 0x808080));
  stock_[DKGRAY_BRUSH] = InsertStock(StockBrush(BS_SOLID, 0x404040));
  stock_[BLACK_BRUSH] = InsertStock(StockBrush(BS_SOLID, 0x000000));
  stock_[NULL_BRUSH] = InsertStock(StockBrush(BS_NULL, 0));
  stock_[WHITE_PEN] = InsertStock(StockPen(PS_SOLID, 0xFFFFFF));
  stock_[BLACK_PEN] = InsertStock(StockPen(PS_SOLID, 0x000000));
  stock_[NULL_PEN] = InsertStock(StockPen(PS_NULL, 0));
  // The stock fonts of a Japanese Windows: gothic faces throughout.
  const char* fixedFace = "ＭＳ ゴシック";
  stock_[OEM_FIXED_FONT] = InsertStock(StockFont(16, FIXED_PITCH | FF_MODERN, fixedFace));
  stock_[ANSI_FIXED_FONT] = InsertStock(StockFont(16, FIXED_PITCH | FF_MODERN, fixedFace));
  stock_[ANSI_VAR_FONT] = InsertStock(StockFont(-12, VARIABLE_PITCH | FF_SWISS, "ＭＳ Ｐゴシック"));
  stock_[SYSTEM_FONT] = InsertStock(StockFont(16, VARIABLE_PITCH | FF_SWISS, "System"));
  stock_[DEVICE_DEFAULT_FONT] = stock_[SYSTEM_FONT];
  stock_[DEFAULT_PALETTE] = InsertStock(Palette{});
  stock_[SYSTEM_FIXED_FONT] = InsertStock(StockFont(16, FIXED_PITCH | FF_MODERN, fixedFace));
  stock_[DEFAULT_GUI_FONT] = InsertStock(StockFont(-12, VARIABLE_PITCH | FF_SWISS, "MS UI Gothic"));
  defaultBitmap_ = static_cast<HBITMAP>(InsertStock(Bitmap(1, 1, true)));
}

HGDIOBJ HandleTable::Insert(GdiObject object) {
  constexpr std::size_t kMaxSlots = kIndexMask - 1;
  std::size_t index;
  if (!free_.empty()) {
    index = free_.back();
    free_.pop_back();
  } else {
    if (slots_.size() >= kMaxSlots) return nullptr;
    index = slots_.size();
    slots_.emplace_back();
  }
  Slot& slot = slots_[index];
  slot.object = std::make_unique<GdiObject>(std::move(object));
  slot.selections = 0;
  slot.stock = false;
  ++live_;
  return reinterpret_cast<HGDIOBJ>((std::uintptr_t{slot.generation} << kIndexBits) | (index + 1));
}

HGDIOBJ HandleTable::InsertStock(GdiObject object) {
  HGDIOBJ handle = Insert(std::move(object));
  FindSlot(handle)->stock = true;
  --live_;
  return handle;
}

void HandleTable::Erase(HGDIOBJ handle) {
  Slot* slot = FindSlot(handle);
  if (!slot || slot->stock) return;
  slot->object.reset();
  slot->generation = slot->generation == 0xFFFFFFFFu ? 1 : slot->generation + 1;
  free_.push_back(static_cast<std::uint32_t>(slot - slots_.data()));
  --live_;
}

HGDIOBJ HandleTable::Stock(int index) const {
  if (index < 0 || index >= static_cast<int>(stock_.size())) return nullptr;
  return stock_[index];
}

PixelView ViewOf(const DeviceContext& dc) {
  switch (dc.kind) {
    case DcKind::Memory:
      if (Bitmap* bitmap = FindBitmap(dc.bitmap)) return bitmap->View();
      return {};
    case DcKind::Window:
      // A buffer whose vector does not match its stated size is not drawn on at all.
      if (dc.buffer && dc.buffer->width > 0 && dc.buffer->height > 0 &&
          dc.buffer->pixels.size() >= std::size_t(dc.buffer->width) * std::size_t(dc.buffer->height))
        return {dc.buffer->pixels.data(), dc.buffer->width, dc.buffer->height, false};
      return {};
    case DcKind::Screen:
      return {};
  }
  return {};
}

}  // namespace win32::gdi
