// The objects behind GDI handles. They live in the handle table (handle_table.h) and are
// reached only through it, so a deleted or forged handle is refused, never dereferenced.
#pragma once

#include <memory>
#include <variant>
#include <vector>

#include "platform/gdi32/font_request.h"
#include "platform/gdi32/gdi32.h"
#include "platform/gdi32/pixel.h"
#include "platform/gdi32/pixel_buffer.h"

namespace win32::gdi {

// A device-dependent bitmap: colour (32 bits per pixel) or monochrome (see pixel.h).
struct Bitmap {
  int width = 1;
  int height = 1;
  bool mono = true;
  std::vector<Pixel> pixels;
  HDC selectedInto = nullptr;  // a bitmap is selected into at most one DC at a time

  Bitmap(int w, int h, bool isMono) : width(w), height(h), mono(isMono), pixels(std::size_t(w) * h, kBlack) {}
  PixelView View() { return {pixels.data(), width, height, mono}; }
};

struct Brush {
  LOGBRUSH logbrush{};
  bool IsNull() const { return logbrush.lbStyle == BS_NULL; }
};

struct Pen {
  LOGPEN logpen{};
};

struct Font {
  LOGFONTA logfont{};
  FontRequest request;
};

// Only the stock DEFAULT_PALETTE exists: every surface here is true colour.
struct Palette {};

enum class DcKind { Memory, Window, Screen };

struct DeviceContext {
  DcKind kind = DcKind::Memory;
  HBITMAP bitmap = nullptr;             // memory DCs: the selected bitmap
  std::shared_ptr<PixelBuffer> buffer;  // window DCs: the window's client area
  HBRUSH brush = nullptr;
  HPEN pen = nullptr;
  HFONT font = nullptr;
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  int stretchMode = BLACKONWHITE;
  UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
  POINT brushOrigin{0, 0};
  POINT currentPosition{0, 0};
};

using GdiObject = std::variant<DeviceContext, Bitmap, Brush, Pen, Font, Palette>;

}  // namespace win32::gdi
